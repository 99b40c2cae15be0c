// The monitor's dialog templates, read back from this program's own
// resources and compared field by field.
#include "ownresource.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// A name-or-ordinal field of a template: class, text, menu.
struct Field {
    bool ordinal;
    WORD id;
    std::wstring text;

    bool operator==(const Field& o) const { return ordinal == o.ordinal && id == o.id && text == o.text; }
};

Field Ord(WORD id)
{
    return {true, id, {}};
}
Field Str(const wchar_t* text)
{
    return {false, 0, text};
}

const Field kButton = Ord(0x80);
const Field kEdit = Ord(0x81);
const Field kStatic = Ord(0x82);
const Field kNone = Str(L"");

std::string Narrow(const std::wstring& s)
{
    return std::string(s.begin(), s.end());
}

std::ostream& operator<<(std::ostream& os, const Field& f)
{
    if (f.ordinal)
        return os << "#" << f.id;
    return os << '"' << Narrow(f.text) << '"';
}

struct Header {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    Field menu;
    Field cls;
    std::wstring caption;
    WORD pointSize;
    WORD weight;
    BYTE italic;
    BYTE charset;
    std::wstring typeface;

    bool operator==(const Header& o) const
    {
        return style == o.style && exStyle == o.exStyle && x == o.x && y == o.y && cx == o.cx && cy == o.cy &&
               menu == o.menu && cls == o.cls && caption == o.caption && pointSize == o.pointSize &&
               weight == o.weight && italic == o.italic && charset == o.charset && typeface == o.typeface;
    }
};

std::ostream& operator<<(std::ostream& os, const Header& h)
{
    return os << std::hex << "{style 0x" << h.style << ", exstyle 0x" << h.exStyle << std::dec << ", " << h.x
              << "," << h.y << " " << h.cx << "x" << h.cy << ", menu " << h.menu << ", class " << h.cls
              << ", caption \"" << Narrow(h.caption) << "\", font " << h.pointSize << " \""
              << Narrow(h.typeface) << "\" weight " << h.weight << " italic " << int(h.italic) << " charset "
              << int(h.charset) << "}";
}

struct Control {
    LONG id;
    Field cls;
    Field text;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;

    bool operator==(const Control& o) const
    {
        return id == o.id && cls == o.cls && text == o.text && style == o.style && exStyle == o.exStyle &&
               x == o.x && y == o.y && cx == o.cx && cy == o.cy;
    }
};

std::ostream& operator<<(std::ostream& os, const Control& c)
{
    return os << "\n  {id " << c.id << ", class " << c.cls << ", text " << c.text << std::hex << ", style 0x"
              << c.style << ", exstyle 0x" << c.exStyle << std::dec << ", " << c.x << "," << c.y << " "
              << c.cx << "x" << c.cy << "}";
}

// Reads a DLGTEMPLATEEX; any read past the end sets overrun.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<BYTE>& data) : m_data(data) {}

    BYTE Byte() { return static_cast<BYTE>(Read(1)); }
    WORD Word() { return static_cast<WORD>(Read(2)); }
    DWORD Dword() { return Read(4); }
    short Short() { return static_cast<short>(Word()); }

    std::wstring String()
    {
        std::wstring s;
        for (WORD c = Word(); c != 0 && !overrun; c = Word())
            s += static_cast<wchar_t>(c);
        return s;
    }

    Field NameOrOrdinal()
    {
        const WORD first = Word();
        if (first == 0xFFFF)
            return Ord(Word());
        if (first == 0)
            return kNone;
        m_pos -= 2;
        return {false, 0, String()};
    }

    void AlignDword() { m_pos = (m_pos + 3) & ~size_t(3); }
    void Skip(size_t n) { m_pos += n; }
    size_t Left() const { return m_pos < m_data.size() ? m_data.size() - m_pos : 0; }

    bool overrun = false;

private:
    DWORD Read(size_t n)
    {
        if (m_pos + n > m_data.size()) {
            overrun = true;
            m_pos = m_data.size();
            return 0;
        }
        DWORD v = 0;
        for (size_t i = 0; i < n; ++i)
            v |= DWORD(m_data[m_pos + i]) << (8 * i);
        m_pos += n;
        return v;
    }

    const std::vector<BYTE>& m_data;
    size_t m_pos = 0;
};

struct DialogCase {
    const char* name;
    WORD resourceId;
    Header header;
    std::vector<Control> controls;
};

Header Frame(DWORD style, short cx, short cy, const wchar_t* caption)
{
    return {style, 0, 0, 0, cx, cy, kNone, kNone, caption, 8, 0, FALSE, DEFAULT_CHARSET, L"MS Shell Dlg"};
}

const DialogCase kDialogs[] = {
    {"About box",
     100,
     Frame(0x80C800C8, 235, 55, L"About spoolscope"),
     {
         {-1, kStatic, Ord(128), 0x50000003, 0, 11, 17, 20, 20},
         {-1, kStatic, Str(L"Portolan Version 1.0"), 0x50020080, 0, 40, 10, 119, 8},
         {1, kButton, Str(L"OK"), 0x50030001, 0, 178, 7, 50, 16},
     }},
    {"main dialog",
     102,
     Frame(0x90CA00C8, 332, 234, L"Portolan"),
     {
         {1, kButton, Str(L"OK"), 0x50010001, 0, 223, 211, 50, 16},
         {2, kButton, Str(L"Cancel"), 0x50010000, 0, 275, 211, 50, 16},
         {1000, Str(L"SysTreeView32"), kNone, 0x50012827, WS_EX_CLIENTEDGE, 7, 7, 136, 200},
         {-1, kStatic, kNone, 0x50000007, 0, 145, 7, 1, 198},
         {-1, kStatic, kNone, 0x50000007, 0, 148, 116, 177, 1},
         {1001, Str(L"SysListView32"), kNone, 0x5001080C, WS_EX_CLIENTEDGE, 149, 7, 176, 108},
         {1002, kEdit, kNone, 0x50810884, 0, 149, 119, 176, 88},
         {1003, kButton, Str(L"Discovery"), 0x50010000, 0, 7, 213, 50, 14},
         {1004, kButton, Str(L"Reset"), 0x50010000, 0, 61, 213, 50, 14},
     }},
};

TEST(DialogTemplateTest, TemplatesMatchFieldByField)
{
    for (const DialogCase& c : kDialogs) {
        SCOPED_TRACE(c.name);
        const std::vector<BYTE> data = OwnResource(RT_DIALOG, c.resourceId);
        ASSERT_FALSE(data.empty());
        TemplateReader r(data);

        EXPECT_EQ(r.Word(), 1);  // DLGTEMPLATEEX
        EXPECT_EQ(r.Word(), 0xFFFF);
        EXPECT_EQ(r.Dword(), 0u);  // help id
        Header h{};
        h.exStyle = r.Dword();
        h.style = r.Dword();
        const WORD count = r.Word();
        h.x = r.Short();
        h.y = r.Short();
        h.cx = r.Short();
        h.cy = r.Short();
        h.menu = r.NameOrOrdinal();
        h.cls = r.NameOrOrdinal();
        h.caption = r.String();
        h.pointSize = r.Word();
        h.weight = r.Word();
        h.italic = r.Byte();
        h.charset = r.Byte();
        h.typeface = r.String();
        EXPECT_EQ(h, c.header);

        std::vector<Control> controls;
        for (WORD i = 0; i < count && !r.overrun; ++i) {
            r.AlignDword();
            Control ctl{};
            EXPECT_EQ(r.Dword(), 0u) << "help id of item " << i;
            ctl.exStyle = r.Dword();
            ctl.style = r.Dword();
            ctl.x = r.Short();
            ctl.y = r.Short();
            ctl.cx = r.Short();
            ctl.cy = r.Short();
            ctl.id = static_cast<LONG>(r.Dword());
            ctl.cls = r.NameOrOrdinal();
            ctl.text = r.NameOrOrdinal();
            const WORD extra = r.Word();
            EXPECT_EQ(extra, 0) << "creation data of item " << i;
            r.Skip(extra);
            controls.push_back(ctl);
        }
        EXPECT_FALSE(r.overrun);
        EXPECT_LT(r.Left(), 4u) << "data after the last item";
        EXPECT_EQ(controls, c.controls);
    }
}

INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The dialog manager builds both templates: every class is known and the
// About box's icon control finds icon group 128.
TEST(DialogTemplateTest, TemplatesCreateTheirWindows)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
    const HINSTANCE module = ::GetModuleHandleW(nullptr);

    HWND about = ::CreateDialogParamW(module, MAKEINTRESOURCEW(100), nullptr, IgnoreAll, 0);
    ASSERT_NE(about, nullptr);
    HWND icon = ::GetWindow(about, GW_CHILD);
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(::SendMessageW(icon, STM_GETICON, 0, 0), 0);
    ::DestroyWindow(about);

    HWND main = ::CreateDialogParamW(module, MAKEINTRESOURCEW(102), nullptr, IgnoreAll, 0);
    ASSERT_NE(main, nullptr);  // fails when any control cannot be created
    EXPECT_NE(::GetDlgItem(main, 1000), nullptr);
    EXPECT_NE(::GetDlgItem(main, 1001), nullptr);
    ::DestroyWindow(main);
}

}  // namespace
