#include "CInstallApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR, int show)
{
    CInstallApp app;
    return app.Run(instance, previous, show);
}
