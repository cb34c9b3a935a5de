// The probe DLL (see Probe.h). Wine, like Windows, loads a hook's DLL into
// the process whose thread the hook watches, so this code runs on the
// program's UI thread while the program handles the probe's message.
#include "Probe.h"

#include <cstring>

namespace {

using namespace probe;

// DrawEdge's raised edge around an owner-drawn push button's face.
constexpr int BUTTON_EDGE = 2;

SIZE Room(HWND hWnd)
{
    RECT rc = {};
    GetClientRect(hWnd, &rc);
    char szClass[16] = {};
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (lstrcmpiA(szClass, "Button") == 0 && (GetWindowLongA(hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
        InflateRect(&rc, -BUTTON_EDGE, -BUTTON_EDGE);
    } else if (lstrcmpiA(szClass, "Edit") == 0) {
        RECT rcFormat = {};
        SendMessageA(hWnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rcFormat));
        rc.left = rcFormat.left;
        rc.right = rcFormat.right;
    }
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void Measure(HWND hDlg, Text& text)
{
    HWND hWnd = GetDlgItem(hDlg, text.nId);
    text.bFound = hWnd != nullptr;
    if (!hWnd)
        return;
    char szOwn[TEXT_CHARS] = {};
    const char* pszText = text.szText;
    if (!*pszText) {
        GetWindowTextA(hWnd, szOwn, sizeof szOwn);
        pszText = szOwn;
    }
    HDC hDC = GetDC(hWnd);
    const HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
    const HGDIOBJ hOld = SelectObject(hDC, hFont ? hFont : GetStockObject(SYSTEM_FONT));
    text.need = SIZE{0, 0};
    if (*pszText)
        GetTextExtentPoint32A(hDC, pszText, lstrlenA(pszText), &text.need);
    SelectObject(hDC, hOld);
    ReleaseDC(hWnd, hDC);
    text.room = Room(hWnd);
}

void Describe(HWND hDlg, Block& block)
{
    HDC hDC = GetDC(hDlg);
    block.nLogPixels = GetDeviceCaps(hDC, LOGPIXELSY);
    ReleaseDC(hDlg, hDC);
    GetWindowRect(hDlg, &block.rcWindow);
    GetClientRect(hDlg, &block.rcClient);
    block.nWindows = 0;
    for (HWND hWnd = GetWindow(hDlg, GW_CHILD); hWnd && block.nWindows < MAX_WINDOWS;
         hWnd = GetWindow(hWnd, GW_HWNDNEXT)) {
        Window& window = block.windows[block.nWindows++];
        std::memset(&window, 0, sizeof window);
        window.nId = GetDlgCtrlID(hWnd);
        GetClassNameA(hWnd, window.szClass, sizeof window.szClass);
        GetWindowTextA(hWnd, window.szText, sizeof window.szText);
        window.bVisible = IsWindowVisible(hWnd);
        GetWindowRect(hWnd, &window.rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&window.rc), 2);
        const HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0));
        window.nFont = reinterpret_cast<std::uintptr_t>(hFont);
        if (hFont) {
            GetObjectA(hFont, sizeof window.font, &window.font);
            HDC hDC = GetDC(hWnd);
            const HGDIOBJ hOld = SelectObject(hDC, hFont);
            TEXTMETRICA tm = {};
            GetTextMetricsA(hDC, &tm);
            window.nCellHeight = tm.tmHeight;
            window.nWeight = tm.tmWeight;
            GetTextFaceA(hDC, sizeof window.szFace, window.szFace);
            SelectObject(hDC, hOld);
            ReleaseDC(hWnd, hDC);
        }
    }
}

void Run(HWND hDlg, WPARAM nJob, DWORD dwTest)
{
    HANDLE hMapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, MappingName(dwTest).c_str());
    if (!hMapping)
        return;
    Block* pBlock = static_cast<Block*>(MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Block)));
    if (pBlock) {
        if (nJob == JOB_DPICHANGED) {
            RECT rcSuggested = pBlock->rcSuggested;
            SendMessageA(hDlg, WM_DPICHANGED, MAKEWPARAM(pBlock->nDpi, pBlock->nDpi),
                         reinterpret_cast<LPARAM>(&rcSuggested));
        } else if (nJob == JOB_MEASURE) {
            for (int i = 0; i < pBlock->nTexts && i < MAX_TEXTS; ++i)
                Measure(hDlg, pBlock->texts[i]);
        }
        pBlock->dwAskedType =
            pBlock->nAsk ? GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(pBlock->nAsk))) : 0;
        Describe(hDlg, *pBlock);
        InterlockedIncrement(&pBlock->nAnswers);
        UnmapViewOfFile(pBlock);
    }
    CloseHandle(hMapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK Probehook(int nCode, WPARAM wParam, LPARAM lParam)
{
    static const UINT s_uMessage = RegisterWindowMessageA(PROBE_MESSAGE);
    if (nCode == HC_ACTION) {
        const CWPSTRUCT& cwp = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (cwp.message == s_uMessage)
            Run(cwp.hwnd, cwp.wParam, static_cast<DWORD>(cwp.lParam));
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}
