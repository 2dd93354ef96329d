// The game-parameter dialog: one edit box for the timer's base interval.
#include "shell/simparamdlg.h"

CSimParamDlg::CSimParamDlg(CWnd* pParent) : CDialogEx(IDD, pParent), m_gameSpeed(0) {}

CSimParamDlg::~CSimParamDlg() {}

void CSimParamDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_GAME_SPEED, m_gameSpeed);
    DDV_MinMaxInt(pDX, m_gameSpeed, 0, 1000);
}
