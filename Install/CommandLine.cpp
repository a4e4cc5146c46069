#include "InstallConfiguration.h"

#include "OvStringArray.h"

bool ParseCommandLine(const wchar_t* text)
{
    InstallConfiguration& config = InstallConfig();
    static const wchar_t* const keywords[] = {L"DistributorID",  L"Silent",    L"Upgrade",  L"NoAssociations",
                                              L"NoDependencies", L"NoUpgrade", L"NoDriver", L"NoRun"};
    bool* const flags[] = {nullptr,
                           &config.silent,
                           &config.upgrade,
                           &config.noAssociations,
                           &config.noDependencies,
                           &config.noUpgrade,
                           &config.noDriver,
                           &config.noRun};
    // No quoting: a "/" inside a value splits it too.
    OvStringArray pieces;
    pieces.Split(text, L"/");
    for (int i = 1; i < pieces.GetCount(); ++i) {
        const OvString& piece = pieces[i];
        for (int k = 0; k < 8; ++k) {
            if (!piece.StartsWithNoCase(keywords[k])) continue;
            if (k == 0) {
                config.distributorId = piece.Mid(13);
                config.distributorId.Trim();
            } else {
                *flags[k] = true;
            }
            break;
        }
    }
    return true;
}
