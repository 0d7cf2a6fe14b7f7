#pragma once
#include <windows.h>

#include "benchmark/RunRequest.h"
#include "benchmark/frmCanvas.h"
#include "benchmark/frmReport.h"
#include "platform/Font.h"
#include "platform/Window.h"

// The start-up window: the run settings, Test and Exit.
class frmMain : public BaseWindow<frmMain> {
public:
    ~frmMain() override { DestroyOpenWindow(); }

    // Creates and shows the window, the focus on the text box.
    bool Create();
    // Lets the dialog manager handle keyboard navigation for this window.
    bool PreTranslate(MSG& msg);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND lblString = nullptr, txtString = nullptr, lblTimes = nullptr, cmbTimes = nullptr;
    HWND lblFace = nullptr, cmbFont = nullptr, lblSize = nullptr, cmbSize = nullptr;
    HWND chkBold = nullptr, chkItalic = nullptr, cmdTest = nullptr, cmdExit = nullptr, chkOpaque = nullptr;
    struct ControlLayout;
    static const ControlLayout kControls[13];

    RunSettings CurrentSettings() const;
    bool Form_Load();
    void Form_Unload();
    void cmdTest_Click();
    void cmdExit_Click();
    void OnCommand(int id, HWND control, UINT code);
    void ShowDefaultButton();
    static LRESULT CALLBACK Button_GotFocus(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR form);
    static LRESULT CALLBACK NumberBox_KeyPress(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                                UINT_PTR id, DWORD_PTR data);

    bool CreateControls();
    void FillLists();

    SharedFont font_;  // one object for all thirteen controls
    frmCanvas canvas_;
    frmReport report_;
};
