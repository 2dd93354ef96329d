// The application: creates and shows the main frame and shows the About box.
#pragma once

#include "framework/app.h"
#include "framework/dialog.h"
#include "resource.h"
#include "shell/invariant_report.h"

class CBrikfall_SDIApp : public CWinApp {
public:
    CBrikfall_SDIApp();
    ~CBrikfall_SDIApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    void OnAppAbout();

private:
    // The failed checks of this run, shown once each.
    InvariantReport m_invariantReport;
};

class CAboutDlg : public CDialogEx {
public:
    enum { IDD = IDD_ABOUTBOX };

    CAboutDlg();
    ~CAboutDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

extern CBrikfall_SDIApp theApp;
