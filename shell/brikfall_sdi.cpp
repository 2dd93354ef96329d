// The application object and the About box.
#include "shell/brikfall_sdi.h"

#include "model/invariant.h"
#include "shell/mainfrm.h"

#include <new>

CBrikfall_SDIApp theApp;

CBrikfall_SDIApp::CBrikfall_SDIApp() : CWinApp()
{
    SetAppID(L"brikfall_SDI.AppID.NoVersion");
    AddCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
}

CBrikfall_SDIApp::~CBrikfall_SDIApp() {}

BOOL CBrikfall_SDIApp::InitInstance()
{
    CWinApp::InitInstance();
    setInvariantHandler(&ReportInvariantFailure);
    EnableTaskbarInteraction(FALSE);
    SetRegistryKey(L"本機 AppWizard 所產生的應用程式");

    CMainFrame* pFrame = new (std::nothrow) CMainFrame;
    if (pFrame == nullptr)
        return FALSE;
    m_pMainWnd = pFrame;
    // A frame whose window could not be made has deleted itself already.
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr)) {
        m_pMainWnd = nullptr;
        return FALSE;
    }
    pFrame->ShowWindow(SW_SHOW);
    pFrame->UpdateWindow();
    return TRUE;
}

int CBrikfall_SDIApp::ExitInstance()
{
    return CWinApp::ExitInstance();
}

void CBrikfall_SDIApp::OnAppAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

CAboutDlg::CAboutDlg() : CDialogEx(IDD, nullptr) {}

CAboutDlg::~CAboutDlg() {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
}
