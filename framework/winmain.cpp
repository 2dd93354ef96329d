// The program's entry point: hands over to the application object.
#include "framework/app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return AfxWinMain();
}
