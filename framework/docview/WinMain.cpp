// WinMain: the program's entry; it hands over to the framework, which runs the application object.
#include "framework/docview/WinApp.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow) {
    return AfxWinMain(hInstance, nCmdShow);
}
