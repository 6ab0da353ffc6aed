// CToolBar: the buttons and images from the resources, the bar's size in a row or a column, the
// buttons' command-UI state and the prompt of the button under the mouse.
#include "framework/bars/ToolBar.h"

#include "framework/bars/DockSite.h"
#include "framework/window/CmdUI.h"
#include "framework/window/Dpi.h"
#include "framework/window/Gdi.h"

#include <commctrl.h>

#include <cstring>

namespace {
// The toolbar resource: WORD version (1), WORD width, WORD height, WORD count, WORD ids[count].
struct ToolBarResource {
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
};

// What a button adds to its image: the raised frame and the pressed offset.
constexpr int kButtonMarginX = 7;
constexpr int kButtonMarginY = 7;

// The command-UI state of one toolbar button.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar& bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        SetButtonState(TB_ISBUTTONENABLED, TB_ENABLEBUTTON, bOn != FALSE);
    }
    void SetCheck(int nCheck) override {
        CCmdUI::SetCheck(nCheck);
        SetButtonState(TB_ISBUTTONCHECKED, TB_CHECKBUTTON, nCheck != 0);
    }
    void SetText(LPCWSTR) override {}  // buttons show pictures only

private:
    // Asks the button with nQuery and, when its state is not bOn already, sets it with nChange.
    void SetButtonState(UINT nQuery, UINT nChange, bool bOn) {
        if ((m_bar.SendMessage(nQuery, m_nID) != 0) != bOn)
            m_bar.SendMessage(nChange, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
    }

    CToolBar& m_bar;
};
}  // namespace

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_DPICHANGED()
END_MESSAGE_MAP()

CToolBar::~CToolBar() {
    // The control gives up the images before they go.
    if (m_scaledImages && GetSafeHwnd() != nullptr)
        SendMessage(TB_SETIMAGELIST, 0, 0);
}

void CToolBar::ImageListDestroyer::operator()(HIMAGELIST hImages) const {
    ImageList_Destroy(hImages);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
    if (pParentWnd == nullptr || pParentWnd->GetSafeHwnd() == nullptr || m_hWnd != nullptr)
        return FALSE;
    EnsureCommonControls(ICC_BAR_CLASSES);
    m_rectBorders = rcBorders;
    AttachToDockSite(pParentWnd, dwStyle);

    // The frame places the bar itself, and the bar draws its own borders and gripper.
    DWORD windowStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPSIBLINGS;
    windowStyle |= (dwCtrlStyle & 0xFFFF) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;
    if (m_dwStyle & CBRS_TOOLTIPS)
        windowStyle |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, windowStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)))) {
        DetachFromDockSite();
        return FALSE;
    }
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetSizes(m_sizeButton, m_sizeImage);
    // The borders and the gripper take effect now that the bar's own messages reach us.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd == nullptr)
        return;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

BOOL CToolBar::LoadBitmap(UINT nIDResource) {
    if (m_hWnd == nullptr)
        return FALSE;
    const HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = FindResourceW(hInst, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(2) /*RT_BITMAP*/);
    if (hResource == nullptr)
        return FALSE;
    // The image count, from the bitmap's width.
    HGLOBAL hData = LoadResource(hInst, hResource);
    const auto* info = hData != nullptr ? static_cast<const BITMAPINFOHEADER*>(LockResource(hData)) : nullptr;
    if (info == nullptr || SizeofResource(hInst, hResource) < sizeof(BITMAPINFOHEADER) || m_sizeImage.cx <= 0)
        return FALSE;
    const int images = static_cast<int>(info->biWidth) / m_sizeImage.cx;
    if (images <= 0)
        return FALSE;
    // Given the module and the id, the control loads the bitmap itself and maps its black, grays
    // and white to the system's button colours; it also owns and frees that copy.
    TBADDBITMAP add = {hInst, nIDResource};
    return SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&add)) != -1;
}

BOOL CToolBar::LoadScaledImages() {
    // Mapped as the control maps a bitmap it loads itself: black, grays and white to the
    // system's button colours.
    CBitmap art;
    if (!art.Attach(CreateMappedBitmap(AfxGetResourceHandle(), static_cast<INT_PTR>(m_nImageResource), 0, nullptr, 0)))
        return FALSE;
    BITMAP artSize{};
    if (GetObjectW(art, sizeof artSize, &artSize) == 0 || m_sizeImageAt96.cx <= 0)
        return FALSE;
    const int images = artSize.bmWidth / m_sizeImageAt96.cx;
    if (images <= 0)
        return FALSE;
    CBitmap scaled;
    if (!scaled.CreateCompatibleBitmap(nullptr, m_sizeImage.cx * images, m_sizeImage.cy))
        return FALSE;
    {
        CDC source, target;
        source.CreateCompatibleDC(nullptr);
        target.CreateCompatibleDC(nullptr);
        CSelectGuard selectArt(source, art);
        CSelectGuard selectScaled(target, scaled);
        // Whole-pixel scaling: each pixel of the art becomes a block of pixels, none blended.
        SetStretchBltMode(target, COLORONCOLOR);
        for (int i = 0; i < images; ++i)
            StretchBlt(target, i * m_sizeImage.cx, 0, m_sizeImage.cx, m_sizeImage.cy, source, i * m_sizeImageAt96.cx, 0,
                       m_sizeImageAt96.cx, m_sizeImageAt96.cy, SRCCOPY);
    }
    ImageListOwner list(ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR24, images, 0));
    if (!list || ImageList_Add(list.get(), scaled, nullptr) < 0)
        return FALSE;
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list.get()));
    m_scaledImages = std::move(list);  // the control's list before is no longer used
    return TRUE;
}

void CToolBar::OnDpiChanged(UINT dpi, const RECT*) {
    if (m_nImageResource == 0 || dpi == 0 || dpi == m_nDpi)
        return;
    m_nDpi = dpi;
    const CSize image(AfxScaleForDpi(m_sizeImageAt96.cx, dpi), AfxScaleForDpi(m_sizeImageAt96.cy, dpi));
    SetSizes(CSize(image.cx + AfxScaleForDpi(kButtonMarginX, dpi), image.cy + AfxScaleForDpi(kButtonMarginY, dpi)),
             image);
    LoadScaledImages();
    if (m_pDockSite != nullptr)
        m_pDockSite->RecalcLayout();
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    if (m_hWnd == nullptr || nIDCount < 0 || (nIDCount > 0 && lpIDArray == nullptr))
        return FALSE;
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons(static_cast<size_t>(nIDCount));
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON& button = buttons[static_cast<size_t>(i)];
        std::memset(&button, 0, sizeof(button));
        if (lpIDArray[i] == ID_SEPARATOR) {
            button.fsStyle = BTNS_SEP;
            button.iBitmap = 8;  // the gap's width
        } else {
            button.iBitmap = image++;
            button.idCommand = static_cast<int>(lpIDArray[i]);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
            button.iString = -1;
        }
    }
    if (nIDCount > 0 &&
        !SendMessage(TB_ADDBUTTONSW, static_cast<WPARAM>(nIDCount), reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    if (!IsHorizontal())
        WrapEachItem(true);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    if (m_hWnd == nullptr)
        return FALSE;
    const HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = FindResourceW(hInst, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(RT_TOOLBAR_DATA));
    if (hResource == nullptr)
        return FALSE;
    HGLOBAL hData = LoadResource(hInst, hResource);
    const auto* data = hData != nullptr ? static_cast<const BYTE*>(LockResource(hData)) : nullptr;
    const DWORD size = SizeofResource(hInst, hResource);
    if (data == nullptr || size < sizeof(ToolBarResource))
        return FALSE;
    ToolBarResource header;
    std::memcpy(&header, data, sizeof(header));
    if (header.wVersion != 1 || header.wWidth == 0 || header.wHeight == 0 ||
        size < sizeof(ToolBarResource) + header.wItemCount * sizeof(WORD))
        return FALSE;
    std::vector<UINT> ids(header.wItemCount);
    for (size_t i = 0; i < ids.size(); ++i) {
        WORD id = 0;
        std::memcpy(&id, data + sizeof(ToolBarResource) + i * sizeof(WORD), sizeof(WORD));
        ids[i] = id;
    }
    // At 96 DPI the images are the bitmap's pixels; at another DPI every figure is scaled.
    m_nDpi = AfxGetDpiForWindow(m_hWnd);
    m_nImageResource = nIDResource;
    m_sizeImageAt96 = CSize(header.wWidth, header.wHeight);
    const CSize image(AfxScaleForDpi(header.wWidth, m_nDpi), AfxScaleForDpi(header.wHeight, m_nDpi));
    SetSizes(
        CSize(image.cx + AfxScaleForDpi(kButtonMarginX, m_nDpi), image.cy + AfxScaleForDpi(kButtonMarginY, m_nDpi)),
        image);
    if (!(m_nDpi == kAfxBaseDpi ? LoadBitmap(nIDResource) : LoadScaledImages()))
        return FALSE;
    if (!SetButtons(ids.data(), static_cast<int>(ids.size())))
        return FALSE;
    if (m_pDockSite != nullptr)
        m_pDockSite->RecalcLayout();
    return TRUE;
}

int CToolBar::GetCount() const {
    return m_hWnd != nullptr ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON button = {};
    if (m_hWnd == nullptr || !SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return ID_SEPARATOR;
    return (button.fsStyle & BTNS_SEP) ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    SetRectEmpty(lpRect);
    if (m_hWnd != nullptr)
        SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
}

UINT CToolBar::CommandFromPoint(POINT point) const {
    if (m_hWnd == nullptr)
        return 0;
    // TB_HITTEST: a button's index, or a negative value outside the buttons (and for gaps).
    const int index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    if (index < 0 || index >= GetCount())
        return 0;
    return GetItemID(index);
}

HWND CToolBar::GetToolTips() const {
    return m_hWnd != nullptr ? reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)) : nullptr;
}

CSize CToolBar::ButtonSize() const {
    const LRESULT buttonSize = SendMessage(TB_GETBUTTONSIZE);
    return buttonSize != 0 ? CSize(LOWORD(buttonSize), HIWORD(buttonSize)) : m_sizeButton;
}

CSize CToolBar::ItemsSize(BOOL bHorz) const {
    const CSize button = ButtonSize();
    const int count = GetCount();
    if (count == 0)
        return button;
    // The control leaves the same margin before its first button as after its last.
    RECT first = {};
    GetItemRect(0, &first);
    const CSize margins(2 * first.left, 2 * first.top);
    if (bHorz) {
        int width = 0;
        for (int i = 0; i < count; ++i) {
            TBBUTTON item = {};
            SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            width += (item.fsStyle & BTNS_SEP) ? item.iBitmap : button.cx;
        }
        return CSize(width + margins.cx, button.cy + margins.cy);
    }
    // Upright, the items stand below each other (IsHorizontal false); before that the column
    // is a guess of one button per row.
    RECT last = {};
    GetItemRect(count - 1, &last);
    const int height = IsHorizontal() ? count * button.cy : last.bottom - first.top;
    return CSize(button.cx + margins.cx, height + margins.cy);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    const CRect borders = GetNonClientBorders();
    const CSize frame(borders.left + borders.right, borders.top + borders.bottom);
    const CSize items = ItemsSize(bHorz);
    const CSize size(items.cx + frame.cx, items.cy + frame.cy);
    if (!bStretch)
        return size;
    return bHorz ? CSize(0, size.cy) : CSize(size.cx, 0);
}

void CToolBar::WrapEachItem(bool bEach) {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTONINFOW info = {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        if (SendMessage(TB_GETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info)) < 0)
            continue;
        const BYTE state =
            bEach ? static_cast<BYTE>(info.fsState | TBSTATE_WRAP) : static_cast<BYTE>(info.fsState & ~TBSTATE_WRAP);
        if (state == info.fsState)
            continue;
        info.fsState = state;
        SendMessage(TB_SETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    if (m_hWnd != nullptr && IsHorizontalBarStyle(dwOldStyle) != IsHorizontalBarStyle(dwNewStyle))
        WrapEachItem(!IsHorizontalBarStyle(dwNewStyle));
    // A tooltip shows over tools of the active window only, unless it always shows; the window
    // a floating bar lives in never takes the activation.
    const bool floating = (dwNewStyle & CBRS_FLOATING) != 0;
    CWnd* pTips = CWnd::FromHandle(GetToolTips());
    if (pTips != nullptr && floating != ((dwOldStyle & CBRS_FLOATING) != 0))
        pTips->ModifyStyle(floating ? 0 : TTS_ALWAYSTIP, floating ? TTS_ALWAYSTIP : 0);
}

bool CToolBar::DragsAt(CPoint point) const {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
        return true;
    // TB_HITTEST: negative outside the buttons, over gaps included.
    return static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point))) < 0;
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const UINT id = GetItemID(i);
        if (id == ID_SEPARATOR)
            continue;
        CToolCmdUI state(*this);
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

void CToolBar::TrackFlyBy(UINT nID) {
    if (nID == m_nFlyByID)
        return;
    m_nFlyByID = nID;
    if (m_pDockSite != nullptr && (m_dwStyle & CBRS_FLYBY))
        m_pDockSite->SetMessageText(nID != 0 ? nID : static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
}

void CToolBar::OnMouseMove(UINT, CPoint point) {
    Default();
    if (!m_bTrackingLeave) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_bTrackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    TrackFlyBy(CommandFromPoint(point));
}

void CToolBar::OnMouseLeave() {
    Default();
    m_bTrackingLeave = false;
    TrackFlyBy(0);
}
