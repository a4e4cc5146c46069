#pragma once

// True when the installation may go on.
bool RunPreInstallChecks();
