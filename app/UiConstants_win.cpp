// The portable style values must mean what the Windows flags say.
#include <windows.h>

#include "model/UiConstants.h"

static_assert(STYLE_PUSH == (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHLIKE | BS_VCENTER | BS_CENTER | BS_OWNERDRAW));
static_assert(STYLE_OUTPUT == (WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_WANTRETURN | ES_READONLY | ES_MULTILINE));
static_assert(STYLE_DEVICE == (WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL));
static_assert(STYLE_CHECK == (WS_CHILD | WS_VISIBLE | BS_CHECKBOX));
static_assert(STYLE_RADIO == (WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON));
static_assert(STYLE_LABEL == (WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP));
static_assert(CLR_NAVY == RGB(0, 0, 128) && CLR_WHITE == RGB(255, 255, 255) && CLR_YELLOW == RGB(255, 255, 0) &&
              CLR_GREY == RGB(160, 160, 160) && CLR_RED == RGB(255, 0, 0) && CLR_GREEN == RGB(0, 255, 0));
static_assert(zobrel::WM_WIDGET_NOTIFY == WM_USER + 5);
