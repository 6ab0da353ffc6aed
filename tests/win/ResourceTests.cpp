// The compiled resources as the program loads them: Czech texts intact as UTF-16, the ids the code
// relies on, the dialog templates the dialogs are built on, and the manifest.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/window/Gdi.h"
#include "res/resource.h"
#include "tests/win/TestSupport.h"

namespace {

const WORD kCzech = MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT);

std::vector<std::wstring> SplitLines(const std::wstring& s) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t nl = s.find(L'\n', start);
        parts.push_back(s.substr(start, nl == std::wstring::npos ? std::wstring::npos : nl - start));
        if (nl == std::wstring::npos)
            return parts;
        start = nl + 1;
    }
}

// The bytes of one resource in the Czech language, empty when there is none.
std::vector<BYTE> CzechResource(LPCWSTR type, LPCWSTR name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceExW(module, type, name, kCzech);
    if (!info)
        return {};
    HGLOBAL loaded = LoadResource(module, info);
    const BYTE* data = static_cast<const BYTE*>(LockResource(loaded));
    return std::vector<BYTE>(data, data + SizeofResource(module, info));
}

// ---------------------------------------------------------------------------------------------
// A reader of classic (DLGTEMPLATE) dialog templates.

struct TemplateControl {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::wstring windowClass;  // the class name, or "#0x80" style for a predefined class atom
    std::wstring text;         // the text, or "#128" for a resource ordinal
};

struct DialogTemplate {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring face;
    std::vector<TemplateControl> controls;
};

class TemplateReader {
public:
    explicit TemplateReader(const std::vector<BYTE>& bytes) : m_bytes(bytes) {}

    WORD Word() {
        WORD w = 0;
        if (m_pos + 2 <= m_bytes.size())
            std::memcpy(&w, &m_bytes[m_pos], 2);
        m_pos += 2;
        return w;
    }
    DWORD Dword() {
        DWORD lo = Word();
        return lo | (static_cast<DWORD>(Word()) << 16);
    }
    short Short() { return static_cast<short>(Word()); }
    // A name field: 0 (none), 0xFFFF and an ordinal, or a terminated string.
    std::wstring NameOrOrdinal() {
        WORD first = Word();
        if (first == 0)
            return L"";
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        std::wstring s(1, static_cast<wchar_t>(first));
        while (WORD c = Word())
            s += static_cast<wchar_t>(c);
        return s;
    }
    void AlignDword() { m_pos = (m_pos + 3) & ~static_cast<size_t>(3); }
    bool AtEnd() const { return m_pos >= m_bytes.size(); }

private:
    const std::vector<BYTE>& m_bytes;
    size_t m_pos = 0;
};

DialogTemplate ReadDialog(const std::vector<BYTE>& bytes) {
    DialogTemplate dlg;
    TemplateReader r(bytes);
    dlg.style = r.Dword();
    r.Dword();  // extended style
    WORD count = r.Word();
    dlg.x = r.Short(), dlg.y = r.Short(), dlg.cx = r.Short(), dlg.cy = r.Short();
    EXPECT_EQ(L"", r.NameOrOrdinal()) << "the dialog has no menu";
    EXPECT_EQ(L"", r.NameOrOrdinal()) << "the dialog uses the standard dialog class";
    dlg.caption = r.NameOrOrdinal();
    if (dlg.style & DS_SETFONT) {
        dlg.pointSize = r.Word();
        dlg.face = r.NameOrOrdinal();
    }
    for (WORD i = 0; i < count && !r.AtEnd(); ++i) {
        r.AlignDword();
        TemplateControl c;
        c.style = r.Dword();
        r.Dword();  // extended style
        c.x = r.Short(), c.y = r.Short(), c.cx = r.Short(), c.cy = r.Short();
        c.id = static_cast<short>(r.Word());
        std::wstring cls = r.NameOrOrdinal();
        // Predefined classes may come as an atom or as a name, depending on the compiler.
        if (cls == L"#128")
            cls = L"Button";
        if (cls == L"#129")
            cls = L"Edit";
        if (cls == L"#130")
            cls = L"Static";
        c.windowClass = cls;
        c.text = r.NameOrOrdinal();
        WORD extra = r.Word();
        for (WORD k = 0; k < (extra + 1) / 2; ++k)
            r.Word();
        dlg.controls.push_back(c);
    }
    return dlg;
}

DialogTemplate LoadDialog(UINT id) {
    std::vector<BYTE> bytes = CzechResource(RT_DIALOG, MAKEINTRESOURCEW(id));
    if (bytes.size() < 4) {
        ADD_FAILURE() << "no Czech dialog " << id;
        return {};
    }
    WORD signature[2];
    std::memcpy(signature, bytes.data(), sizeof signature);
    if (signature[0] == 1 && signature[1] == 0xFFFF) {
        ADD_FAILURE() << "dialog " << id << " is an extended template; a classic one is expected";
        return {};
    }
    return ReadDialog(bytes);
}

bool SameClass(const std::wstring& a, const wchar_t* b) {
    return lstrcmpiW(a.c_str(), b) == 0;
}

const DWORD kChildVisible = WS_CHILD | WS_VISIBLE;

// ---------------------------------------------------------------------------------------------

TEST(ResourceStrings, TitleAndDocumentString) {
    std::wstring title = LoadResourceString(AFX_IDS_APP_TITLE);
    ASSERT_EQ(0u, title.rfind(L"Oktalon 1.0", 0)) << "title: " << title.size() << " chars";
    EXPECT_GT(title.size(), std::wstring(L"Oktalon 1.0").size()) << "the title carries an authorship notice";

    std::vector<std::wstring> fields = SplitLines(LoadResourceString(IDR_MAINFRAME));
    ASSERT_EQ(7u, fields.size());
    EXPECT_EQ(title, fields[0]);
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(fields[i].empty()) << "field " << i << " (no document name, no file filter)";
    EXPECT_EQ(L"Oktalon.Document", fields[5]);
    EXPECT_EQ(L"Oktalon Document", fields[6]);
}

TEST(ResourceStrings, CzechTextsSurviveAsUtf16) {
    EXPECT_EQ(L"P\u0159ipraven", LoadResourceString(AFX_IDS_IDLEMESSAGE));
    EXPECT_EQ(L"Otev\u0159e existuj\u00edc\u00ed dokument\nOtev\u0159\u00edt", LoadResourceString(ID_FILE_OPEN));
    EXPECT_EQ(L"Zobraz\u00ed informace o autorovi a programu\nO programu", LoadResourceString(ID_APP_ABOUT));
    EXPECT_EQ(L"Ukon\u010d\u00ed aplikaci\nKonec", LoadResourceString(ID_APP_EXIT));
    EXPECT_EQ(L"Zobraz\u00ed nebo skryje panel n\u00e1stroj\u016f\nPanel n\u00e1stroj\u016f",
              LoadResourceString(ID_VIEW_TOOLBAR));
    EXPECT_EQ(L"Zobraz\u00ed nebo skryje stavov\u00fd \u0159\u00e1dek\nStavov\u00fd \u0159\u00e1dek",
              LoadResourceString(ID_VIEW_STATUS_BAR));
    EXPECT_EQ(L"Vyhled\u00e1 v souboru data\nHledat", LoadResourceString(ID_SEARCH_FIND));
    EXPECT_EQ(L"Najde dal\u0161\u00ed data v souboru", LoadResourceString(ID_SEARCH_FIND_NEXT));
}

TEST(ResourceStrings, ToolbarTooltipsAndPrompts) {
    // The text after "\n" is the tooltip of the command's toolbar button.
    struct {
        UINT id;
        const wchar_t* tip;
    } buttons[] = {{ID_FILE_OPEN, L"Otev\u0159\u00edt"}, {ID_SEARCH_FIND, L"Hledat"}, {ID_APP_ABOUT, L"O programu"}};
    for (const auto& b : buttons) {
        std::vector<std::wstring> parts = SplitLines(LoadResourceString(b.id));
        ASSERT_EQ(2u, parts.size()) << b.id;
        EXPECT_FALSE(parts[0].empty()) << b.id;
        EXPECT_EQ(b.tip, parts[1]) << b.id;
    }
    EXPECT_EQ(std::wstring::npos, LoadResourceString(ID_SEARCH_FIND_NEXT).find(L'\n'))
        << "Find Next has no button, no tooltip";
}

TEST(ResourceStrings, IndicatorsAndRecentFilePrompts) {
    EXPECT_EQ(L"ABC", LoadResourceString(ID_INDICATOR_CAPS));
    EXPECT_EQ(L"123", LoadResourceString(ID_INDICATOR_NUM));
    EXPECT_EQ(L"OVR", LoadResourceString(ID_INDICATOR_OVR));
    EXPECT_EQ(L"REC", LoadResourceString(ID_INDICATOR_REC));
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE16; ++id)
        EXPECT_EQ(L"Otev\u0159e tento dokument", LoadResourceString(id)) << id;
    EXPECT_EQ(16, ID_FILE_MRU_FILE16 - ID_FILE_MRU_FILE1 + 1);
}

TEST(ResourceStrings, AllInCzech) {
    // String tables are stored in blocks of 16 ids; each block the program uses is Czech.
    for (UINT id : {UINT(IDR_MAINFRAME), UINT(AFX_IDS_APP_TITLE), UINT(ID_FILE_OPEN), UINT(ID_FILE_MRU_FILE1),
                    UINT(ID_APP_ABOUT), UINT(ID_INDICATOR_CAPS), UINT(ID_VIEW_TOOLBAR), UINT(ID_SEARCH_FIND)}) {
        EXPECT_FALSE(CzechResource(RT_STRING, MAKEINTRESOURCEW(id / 16 + 1)).empty()) << id;
    }
}

// ---------------------------------------------------------------------------------------------

struct MenuItem {
    UINT id;
    std::wstring text;
    UINT state;
    bool separator;
    bool popup;
};

std::vector<MenuItem> Items(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
        items.push_back({info.wID, text, info.fState, (info.fType & MFT_SEPARATOR) != 0, info.hSubMenu != nullptr});
    }
    return items;
}

TEST(ResourceMenu, FourCzechPopupsWithTheirItems) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_TRUE(menu);
    ASSERT_FALSE(CzechResource(RT_MENU, MAKEINTRESOURCEW(IDR_MAINFRAME)).empty());

    std::vector<MenuItem> bar = Items(menu);
    ASSERT_EQ(4u, bar.size());
    const wchar_t* popups[] = {L"&Soubor", L"&Hledat", L"&Zobrazit", L"&N\u00e1pov\u011bda"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(popups[i], bar[i].text);
        EXPECT_TRUE(bar[i].popup);
    }

    std::vector<MenuItem> file = Items(GetSubMenu(menu, 0));
    ASSERT_EQ(5u, file.size());
    EXPECT_EQ(UINT(ID_FILE_OPEN), file[0].id);
    EXPECT_EQ(L"&Otev\u0159\u00edt...\tCtrl+O", file[0].text);
    EXPECT_TRUE(file[1].separator);
    EXPECT_EQ(UINT(ID_FILE_MRU_FILE1), file[2].id);
    EXPECT_EQ(L"Pou\u017eit\u00e9 soubory", file[2].text);
    EXPECT_TRUE(file[2].state & MFS_GRAYED) << "the empty recent-file list is grayed";
    EXPECT_TRUE(file[3].separator);
    EXPECT_EQ(UINT(ID_APP_EXIT), file[4].id);
    EXPECT_EQ(L"&Konec", file[4].text);
    EXPECT_FALSE(file[0].state & MFS_GRAYED);
    EXPECT_FALSE(file[4].state & MFS_GRAYED);

    std::vector<MenuItem> search = Items(GetSubMenu(menu, 1));
    ASSERT_EQ(2u, search.size());
    EXPECT_EQ(UINT(ID_SEARCH_FIND), search[0].id);
    EXPECT_EQ(L"N&aj\u00edt...\tF4", search[0].text);
    EXPECT_EQ(UINT(ID_SEARCH_FIND_NEXT), search[1].id);
    EXPECT_EQ(L"Na&j\u00edt dal\u0161\u00ed\tF3", search[1].text);

    std::vector<MenuItem> view = Items(GetSubMenu(menu, 2));
    ASSERT_EQ(2u, view.size());
    EXPECT_EQ(UINT(ID_VIEW_TOOLBAR), view[0].id);
    EXPECT_EQ(L"&Panel n\u00e1stroj\u016f", view[0].text);
    EXPECT_EQ(UINT(ID_VIEW_STATUS_BAR), view[1].id);
    EXPECT_EQ(L"S&tavov\u00fd \u0159\u00e1dek", view[1].text);

    std::vector<MenuItem> help = Items(GetSubMenu(menu, 3));
    ASSERT_EQ(1u, help.size());
    EXPECT_EQ(UINT(ID_APP_ABOUT), help[0].id);
    EXPECT_EQ(L"O p&rogramu...", help[0].text);

    // A read-only viewer: no New, Save or Print anywhere.
    for (UINT absent : {0xE100u, 0xE103u, 0xE104u, 0xE107u})
        EXPECT_EQ(UINT(-1), GetMenuState(menu, absent, MF_BYCOMMAND)) << absent;
    DestroyMenu(menu);
}

// The ids are fixed numbers that the framework, other programs and older builds know: pinned
// here as the numbers themselves, read from the compiled resources, not through the names the
// code uses.
TEST(ResourceIds, AreTheFixedNumbers) {
    static_assert(ID_SEPARATOR == 0 && ID_FILE_NEW == 57600 && AFX_IDW_TOOLBAR == 59392 &&
                      AFX_IDW_STATUS_BAR == 59393 && ID_FILE_MRU_FILE16 == 57631,
                  "the framework's ids that no resource carries");
    HMODULE module = GetModuleHandleW(nullptr);
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(128));
    ASSERT_TRUE(menu);
    std::vector<UINT> commands;
    for (int popup = 0; popup < GetMenuItemCount(menu); ++popup)
        for (const MenuItem& item : Items(GetSubMenu(menu, popup)))
            commands.push_back(item.id);
    DestroyMenu(menu);
    EXPECT_EQ(commands, (std::vector<UINT>{57601, 0, 57616, 0, 57665, 32771, 32772, 59392, 59393, 57664}));

    HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(128));
    ACCEL keys[3] = {};
    ASSERT_EQ(3, CopyAcceleratorTableW(table, keys, 3));
    EXPECT_EQ((std::vector<WORD>{keys[0].cmd, keys[1].cmd, keys[2].cmd}), (std::vector<WORD>{57601, 32772, 32771}));
    DestroyAcceleratorTable(table);

    std::vector<BYTE> toolbar = CzechResource(MAKEINTRESOURCEW(241), MAKEINTRESOURCEW(128));
    ASSERT_EQ(16u, toolbar.size());
    WORD words[8];
    std::memcpy(words, toolbar.data(), sizeof words);
    EXPECT_EQ((std::vector<WORD>(words + 4, words + 8)), (std::vector<WORD>{57601, 32771, 0, 57664}));

    for (UINT id : {128u, 57344u, 57345u, 57601u, 57616u, 57631u, 57664u, 57665u, 59137u, 59138u, 59140u, 59141u,
                    59392u, 59393u, 32771u, 32772u})
        EXPECT_FALSE(LoadResourceString(id).empty()) << id;
    EXPECT_TRUE(LoadResourceString(57632).empty()) << "sixteen recent-file entries, no more";
    EXPECT_NE(LoadImageW(module, MAKEINTRESOURCEW(128), IMAGE_ICON, 32, 32, 0), nullptr);
    EXPECT_NE(LoadBitmapW(module, MAKEINTRESOURCEW(128)), nullptr);

    std::vector<int> findControls;
    for (const TemplateControl& control : LoadDialog(131).controls)
        findControls.push_back(control.id);
    EXPECT_EQ(findControls, (std::vector<int>{1000, 1001, 1, 2, 1002, 1003}));
    const DialogTemplate about = LoadDialog(100);
    ASSERT_EQ(about.controls.size(), 5u);
    EXPECT_EQ(about.controls[3].id, 1);
}

TEST(ResourceMenu, AcceleratorsInOrder) {
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_TRUE(table);
    EXPECT_FALSE(CzechResource(RT_ACCELERATOR, MAKEINTRESOURCEW(IDR_MAINFRAME)).empty());
    ACCEL keys[8] = {};
    ASSERT_EQ(3, CopyAcceleratorTableW(table, keys, 8));
    EXPECT_EQ(FVIRTKEY | FCONTROL | FNOINVERT, keys[0].fVirt & ~0x80);
    EXPECT_EQ('O', keys[0].key);
    EXPECT_EQ(ID_FILE_OPEN, keys[0].cmd);
    EXPECT_EQ(FVIRTKEY | FNOINVERT, keys[1].fVirt & ~0x80);
    EXPECT_EQ(VK_F3, keys[1].key);
    EXPECT_EQ(ID_SEARCH_FIND_NEXT, keys[1].cmd);
    EXPECT_EQ(FVIRTKEY | FNOINVERT, keys[2].fVirt & ~0x80);
    EXPECT_EQ(VK_F4, keys[2].key);
    EXPECT_EQ(ID_SEARCH_FIND, keys[2].cmd);
    DestroyAcceleratorTable(table);
}

// ---------------------------------------------------------------------------------------------

TEST(ResourcePictures, ToolbarDescriptionMatchesItsBitmap) {
    std::vector<BYTE> bytes = CzechResource(MAKEINTRESOURCEW(RT_TOOLBAR_DATA), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_EQ(16u, bytes.size());
    WORD words[8];
    std::memcpy(words, bytes.data(), sizeof words);
    EXPECT_EQ(1, words[0]);   // layout version
    EXPECT_EQ(16, words[1]);  // button width
    EXPECT_EQ(15, words[2]);  // button height
    ASSERT_EQ(4, words[3]);
    EXPECT_EQ(ID_FILE_OPEN, words[4]);
    EXPECT_EQ(ID_SEARCH_FIND, words[5]);
    EXPECT_EQ(ID_SEPARATOR, words[6]);
    EXPECT_EQ(ID_APP_ABOUT, words[7]);

    // One image per button, 16 colours.
    std::vector<BYTE> dib = CzechResource(RT_BITMAP, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), sizeof header);
    EXPECT_EQ(3 * 16, header.biWidth);
    EXPECT_EQ(15, header.biHeight);
    EXPECT_EQ(4, header.biBitCount);
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_TRUE(bitmap);
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(48, info.bmWidth);
    EXPECT_EQ(15, info.bmHeight);
    DeleteObject(bitmap);
}

TEST(ResourcePictures, ToolbarBackgroundIsTheButtonFaceGrey) {
    // Toolbars map the light grey of their bitmap to the system's button face colour, so the
    // corners of each button must be that grey.
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_TRUE(bitmap);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int button = 0; button < 3; ++button) {
        EXPECT_EQ(RGB(192, 192, 192), GetPixel(dc, button * 16, 0)) << button;
        EXPECT_EQ(RGB(192, 192, 192), GetPixel(dc, button * 16 + 15, 14)) << button;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST(ResourcePictures, IconIs32By32In16Colours) {
    std::vector<BYTE> group = CzechResource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_EQ(6u + 14u, group.size()) << "one image";
    EXPECT_EQ(32, group[6]);  // width
    EXPECT_EQ(32, group[7]);  // height
    EXPECT_EQ(16, group[8]);  // colours
    EXPECT_EQ(4, group[12]);  // bits per pixel
    const std::unique_ptr<std::remove_pointer_t<HICON>, decltype(&DestroyIcon)> icon(
        static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 32, 32, 0)),
        &DestroyIcon);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    CBitmap color;  // the icon's copies of its pictures, deleted with these
    CBitmap mask;
    color.Attach(info.hbmColor);
    mask.Attach(info.hbmMask);
    BITMAP maskInfo{};
    GetObjectW(info.hbmMask, sizeof maskInfo, &maskInfo);
    EXPECT_EQ(32, maskInfo.bmWidth);
}

// ---------------------------------------------------------------------------------------------

TEST(ResourceDialogs, FindTemplate) {
    DialogTemplate dlg = LoadDialog(IDD_FIND);
    EXPECT_EQ(DWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT), dlg.style);
    EXPECT_EQ(0, dlg.x);
    EXPECT_EQ(0, dlg.y);
    EXPECT_EQ(216, dlg.cx);
    EXPECT_EQ(103, dlg.cy);
    EXPECT_EQ(L"Hledat", dlg.caption);
    EXPECT_EQ(8, dlg.pointSize);
    EXPECT_EQ(L"MS Sans Serif", dlg.face);

    struct Expected {
        int id;
        const wchar_t* cls;
        const wchar_t* text;
        short x, y, cx, cy;
        DWORD style;
    } expected[] = {
        {IDC_HEX_TEXT, L"Edit", L"", 7, 20, 202, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_UPPERCASE},
        {IDC_PLAIN_TEXT, L"Edit", L"", 7, 57, 202, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | WS_DISABLED},
        {IDOK, L"Button", L"OK", 35, 82, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
        {IDCANCEL, L"Button", L"Storno", 105, 82, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {IDC_MODE_HEX, L"Button", L"Vyhledat v HEXA tvaru", 7, 7, 89, 10, BS_AUTORADIOBUTTON | WS_GROUP},
        {IDC_MODE_TEXT, L"Button", L"Vyhledat v textov\u00e9m tavru", 7, 42, 98, 10, BS_AUTORADIOBUTTON},
    };
    ASSERT_EQ(6u, dlg.controls.size());
    for (size_t i = 0; i < 6; ++i) {
        const TemplateControl& c = dlg.controls[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.id);
        EXPECT_EQ(e.id, c.id);
        EXPECT_TRUE(SameClass(c.windowClass, e.cls));
        EXPECT_EQ(e.text, c.text);
        EXPECT_EQ(e.x, c.x);
        EXPECT_EQ(e.y, c.y);
        EXPECT_EQ(e.cx, c.cx);
        EXPECT_EQ(e.cy, c.cy);
        EXPECT_EQ(kChildVisible | e.style, c.style);
    }
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

TEST(ResourceDialogs, FindDialogBehavesAsLaidOut) {
    HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FIND), nullptr, PlainDialogProc, 0);
    ASSERT_TRUE(dlg);
    HWND hex = GetDlgItem(dlg, IDC_HEX_TEXT);
    HWND text = GetDlgItem(dlg, IDC_PLAIN_TEXT);
    HWND ok = GetDlgItem(dlg, IDOK);
    HWND cancel = GetDlgItem(dlg, IDCANCEL);
    ASSERT_TRUE(hex && text && ok && cancel);
    EXPECT_TRUE(IsWindowEnabled(hex));
    EXPECT_FALSE(IsWindowEnabled(text));

    // Tab visits the enabled box, OK and Storno, never the radio buttons.
    EXPECT_EQ(ok, GetNextDlgTabItem(dlg, hex, FALSE));
    EXPECT_EQ(cancel, GetNextDlgTabItem(dlg, ok, FALSE));
    EXPECT_EQ(hex, GetNextDlgTabItem(dlg, cancel, FALSE));
    EnableWindow(text, TRUE);
    EnableWindow(hex, FALSE);
    EXPECT_EQ(ok, GetNextDlgTabItem(dlg, text, FALSE));
    EXPECT_EQ(text, GetNextDlgTabItem(dlg, cancel, FALSE));
    EnableWindow(hex, TRUE);

    // The text choice follows the hex choice in its group.
    HWND modeHex = GetDlgItem(dlg, IDC_MODE_HEX);
    HWND modeText = GetDlgItem(dlg, IDC_MODE_TEXT);
    EXPECT_EQ(modeText, GetNextDlgGroupItem(dlg, modeHex, FALSE));

    // Typed letters turn into upper case in the hex box.
    SendMessageW(hex, WM_CHAR, 'f', 1);
    SendMessageW(hex, WM_CHAR, 'a', 1);
    wchar_t typed[8] = {};
    GetWindowTextW(hex, typed, 8);
    EXPECT_STREQ(L"FA", typed);
    DestroyWindow(dlg);
}

TEST(ResourceDialogs, AboutTemplate) {
    DialogTemplate dlg = LoadDialog(IDD_ABOUTBOX);
    EXPECT_EQ(DWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT), dlg.style);
    EXPECT_EQ(235, dlg.cx);
    EXPECT_EQ(73, dlg.cy);
    EXPECT_EQ(L"O programu", dlg.caption);
    EXPECT_EQ(8, dlg.pointSize);
    EXPECT_EQ(L"MS Sans Serif", dlg.face);
    ASSERT_EQ(5u, dlg.controls.size());

    const TemplateControl& icon = dlg.controls[0];
    EXPECT_TRUE(SameClass(icon.windowClass, L"Static"));
    EXPECT_EQ(L"#" + std::to_wstring(IDR_MAINFRAME), icon.text);
    EXPECT_EQ(DWORD(kChildVisible | SS_ICON), icon.style);
    EXPECT_EQ(11, icon.x);
    EXPECT_EQ(17, icon.y);
    EXPECT_EQ(21, icon.cx);
    EXPECT_EQ(20, icon.cy);

    const TemplateControl& name = dlg.controls[1];
    EXPECT_EQ(L"Oktalon 1.0", name.text);
    EXPECT_EQ(DWORD(kChildVisible | SS_LEFT | SS_NOPREFIX | WS_GROUP), name.style);
    EXPECT_EQ(40, name.x);
    EXPECT_EQ(16, name.y);

    const TemplateControl& notice = dlg.controls[2];
    EXPECT_FALSE(notice.text.empty());
    EXPECT_EQ(DWORD(kChildVisible | SS_LEFT | WS_GROUP), notice.style);
    EXPECT_EQ(29, notice.y);

    const TemplateControl& ok = dlg.controls[3];
    EXPECT_EQ(IDOK, ok.id);
    EXPECT_EQ(L"OK", ok.text);
    EXPECT_EQ(DWORD(kChildVisible | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP), ok.style);
    EXPECT_EQ(178, ok.x);
    EXPECT_EQ(7, ok.y);
    EXPECT_EQ(50, ok.cx);
    EXPECT_EQ(14, ok.cy);

    EXPECT_EQ(L"", dlg.controls[4].text);
    EXPECT_EQ(215, dlg.controls[4].cx);

    // The static icon really shows the program's icon.
    HWND about =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, PlainDialogProc, 0);
    ASSERT_TRUE(about);
    HWND iconWnd = GetWindow(about, GW_CHILD);
    EXPECT_TRUE(SendMessageW(iconWnd, STM_GETICON, 0, 0));
    DestroyWindow(about);
}

// ---------------------------------------------------------------------------------------------

TEST(ResourceManifest, CommonControls6ForThisArchitecture) {
    std::vector<BYTE> bytes = CzechResource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    if (bytes.empty()) {
        // Some compilers store the manifest language-neutral; it must exist in any case.
        HRSRC info = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), RT_MANIFEST);
        ASSERT_TRUE(info);
        HGLOBAL loaded = LoadResource(GetModuleHandleW(nullptr), info);
        const BYTE* data = static_cast<const BYTE*>(LockResource(loaded));
        bytes.assign(data, data + SizeofResource(GetModuleHandleW(nullptr), info));
    }
    std::string xml(bytes.begin(), bytes.end());
#ifdef _WIN64
    const char* arch = "processorArchitecture=\"amd64\"";
#else
    const char* arch = "processorArchitecture=\"X86\"";
#endif
    // Both the program's own identity and the dependency name the architecture.
    size_t first = xml.find(arch);
    ASSERT_NE(std::string::npos, first);
    EXPECT_NE(std::string::npos, xml.find(arch, first + 1));
    EXPECT_NE(std::string::npos, xml.find("name=\"Microsoft.Windows.Common-Controls\""));
    EXPECT_NE(std::string::npos, xml.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, xml.find("publicKeyToken=\"6595b64144ccf1df\""));
    EXPECT_NE(std::string::npos, xml.find("language=\"*\""));

    // And the system honoured it: this process runs version 6 of the common controls, which
    // comes from the side-by-side store, not the system folder. (Asking DllGetVersion does not
    // tell: Wine's version 6 answers 5.81.)
    INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    ASSERT_TRUE(comctl);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(comctl, path, MAX_PATH);
    CharLowerW(path);
    std::wstring loaded = path;
    EXPECT_NE(std::wstring::npos, loaded.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."))
        << "comctl32 loaded from " << std::string(loaded.begin(), loaded.end());
}

}  // namespace
