// The game-parameter dialog: the base interval of the game timer in
// milliseconds, from 0 to 1000.
#pragma once

#include "framework/dialog.h"
#include "resource.h"

class CSimParamDlg : public CDialogEx {
public:
    enum { IDD = IDD_SIMPARAM };

    explicit CSimParamDlg(CWnd* pParent = nullptr);
    ~CSimParamDlg() override;

    int m_gameSpeed;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
