#pragma once
// The probe that the e2e tests put into the program's process: a hook DLL
// (Probe.cpp) on the program's UI thread. A test sends the dialog the
// registered message PROBE_MESSAGE, a job in wParam and its own process id
// in lParam; the hook does the job inside the program, where the controls'
// fonts and a rectangle passed by pointer are valid, and answers in the
// file mapping that the test created under MappingName(its id).
#include <windows.h>

#include <cstdint>
#include <string>

namespace probe {

constexpr char PROBE_MESSAGE[] = "Tarvick e2e probe";
constexpr char HOOK_PROC[] = "Probehook";

constexpr WPARAM JOB_MEASURE = 1;     // measure the texts asked for, describe the windows
constexpr WPARAM JOB_DPICHANGED = 2;  // deliver WM_DPICHANGED, then describe the windows

constexpr int MAX_TEXTS = 160;
constexpr int MAX_WINDOWS = 64;
constexpr int TEXT_CHARS = 64;

// One text in one control, "" for the control's own text.
struct Text {
    int nId;
    char szText[TEXT_CHARS];
    // Out: the text's extent in the control's own font (WM_GETFONT), and
    // the room it has on one line: a push button's face inside its edge, an
    // edit box's formatting rectangle, any other control's client area.
    BOOL bFound;
    SIZE need;
    SIZE room;
};

struct Window {
    int nId;
    char szClass[16];
    char szText[TEXT_CHARS];
    BOOL bVisible;
    RECT rc;              // in the dialog's client coordinates
    std::uint64_t nFont;  // the WM_GETFONT handle, 0 for none
    LOGFONTA font;
    // What the font realised: its cell height, weight and face.
    LONG nCellHeight;
    LONG nWeight;
    char szFace[LF_FACESIZE];
};

struct Block {
    // In, for JOB_DPICHANGED.
    UINT nDpi;
    RECT rcSuggested;
    // In, and measured by JOB_MEASURE.
    int nTexts;
    Text texts[MAX_TEXTS];
    // In: a GDI handle of the program's to ask after; out: its object type.
    std::uint64_t nAsk;
    DWORD dwAskedType;
    // Out, after either job.
    int nLogPixels;  // the program's DPI, as its dialog's device context tells it
    RECT rcWindow;
    RECT rcClient;
    int nWindows;
    Window windows[MAX_WINDOWS];
    LONG nAnswers;  // one more for every job done
};

inline std::string MappingName(DWORD dwTestProcess)
{
    return "Tarvick e2e probe " + std::to_string(dwTestProcess);
}

}  // namespace probe
