#include "device/DeviceHtml.h"

#include <strings.h>

#include <algorithm>
#include <fstream>
#include <span>

#include "base/UtilSnprintf.h"
#include "device/DeviceCodes.h"
#include "platform/Ui.h"

namespace vantrel {
namespace {

struct ModelColumn {
    const char* name;
    std::vector<const char*> algorithms;
};

const std::vector<const char*> kList4 = {"S20",   "S22", "S38",   "S60",  "S79",
                                         "SM32C", "ST9", "S7542", "S3803"};

std::vector<const char*> Plus(std::vector<const char*> list,
                              std::initializer_list<const char*> more) {
    list.insert(list.end(), more);
    return list;
}

const std::vector<ModelColumn>& ModelColumns() {
    static const std::vector<ModelColumn> columns = [] {
        auto list4R1 = Plus(kList4, {"S507"});
        auto list5 = Plus(list4R1, {"S60A"});
        return std::vector<ModelColumn>{
            {"MV3", {"S20", "S60", "SM32C"}},
            {"3", {"S20", "S60", "SM32C"}},
            {"4", kList4},
            {"4R1", list4R1},
            {"5", list5},
            {"5R3", Plus(list5, {"R8C", "SR32C"})},
            {"5NXT", {"S60", "S79", "SM32C", "S60A", "R8C", "SR32C"}},
        };
    }();
    return columns;
}

bool InList(const std::vector<const char*>& list, uint8_t algoS) {
    const char* name = AlgoSName(algoS);
    return std::any_of(list.begin(), list.end(),
                       [name](const char* n) { return std::string(n) == name; });
}

bool IsST7(uint8_t algoS) {
    return InList({"ST7", "ST7X"}, algoS);
}

struct Entry {
    std::string manufacturer, group, name, package;
    uint32_t ram = 0;
    uint32_t flashSize = 0;
    std::vector<bool> models; // one flag per model column
    uint8_t parallel = 0, serial = 0;
    uint8_t algoS = 0;
};

int CompareNoCase(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str());
}

int CompareEntries(const Entry& a, const Entry& b) {
    if (int c = CompareNoCase(a.manufacturer, b.manufacturer)) return c;
    if (int c = CompareNoCase(a.group, b.group)) return c;
    if (int c = CompareNoCase(a.name, b.name)) return c;
    return CompareNoCase(a.package, b.package);
}

// Sorted by Manufacturer, Group, Name and Package ignoring case; of devices equal in all four
// the first in table order stays.
std::vector<Entry> BuildEntries(const DeviceTable& table) {
    std::vector<Entry> entries;
    for (const auto& d : table.records) {
        Entry e{d.manufacturer,    d.group,         d.name, d.package, d.ram, FlashSize(d), {},
                d.parallelSupport, d.serialSupport, d.algoS};
        for (const auto& column : ModelColumns())
            e.models.push_back(InList(column.algorithms, d.algoS));
        entries.push_back(std::move(e));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return CompareEntries(a, b) < 0; });
    auto last = std::unique(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return CompareEntries(a, b) == 0;
    });
    entries.erase(last, entries.end());
    return entries;
}

struct Cell {
    std::string text;
    const char* cls = nullptr;
    const char* background = nullptr;
    int rowSpan = 1;
    int colSpan = 1;
    const char* font = nullptr;
};

void AppendCell(std::string& out, const Cell& cell) {
    out += "    <td";
    if (cell.cls) out += std::string(" class=\"") + cell.cls + "\"";
    if (cell.background) out += std::string(" BGCOLOR=\"") + cell.background + "\"";
    if (cell.rowSpan > 1) out += " rowspan=" + std::to_string(cell.rowSpan);
    if (cell.colSpan > 1) out += " colspan=" + std::to_string(cell.colSpan);
    out += ">";
    std::string text = cell.text.empty() ? "--" : cell.text;
    if (cell.font)
        out +=
            std::string("<STRONG><FONT COLOR=\"") + cell.font + "\">" + text + "</FONT></STRONG>";
    else
        out += text;
    out += "</td>\r\n";
}

void AppendHeaderCell(std::string& out, const std::string& text, int rowSpan = 1, int colSpan = 1) {
    AppendCell(out, Cell{text, nullptr, "#2C2CCC", rowSpan, colSpan, "#FFFFFF"});
}

std::string SizeText(uint32_t size) {
    if (size == 0) return "--";
    if (size % 1024 == 0) return UTIL_format("%d KB", {size / 1024});
    return UTIL_format("%d Bytes", {size});
}

// The model columns of a file, as indexes into ModelColumns().
std::vector<std::size_t> ColumnsOf(HtmlList list) {
    switch (list) {
    case HtmlList::Flash:
        return {0, 1, 2, 3, 4, 5, 6};
    case HtmlList::Vantrel5:
        return {5, 6};
    case HtmlList::ST7:
        return {};
    }
    return {};
}

bool Belongs(const Entry& e, HtmlList list) {
    if (e.serial == 0) return false;
    if (list == HtmlList::ST7) return IsST7(e.algoS);
    return std::find(e.models.begin(), e.models.end(), true) != e.models.end();
}

void AppendGroup(std::string& out, std::span<const Entry* const> group,
                 const std::vector<std::size_t>& columns) {
    const std::string& name = group.front()->group;
    out += "  <!-- ******************************************************* -->\r\n";
    std::string stars(name.size() < 40 ? 40 - name.size() : 0, '*');
    out += "  <!-- ** New group: " + name + " " + stars + " -->\r\n";
    for (std::size_t i = 0; i < group.size(); ++i) {
        const Entry& e = *group[i];
        out += "  <tr>\r\n";
        if (i == 0)
            AppendCell(out, Cell{name, "tbl_header", nullptr, static_cast<int>(group.size())});
        AppendCell(out, Cell{e.name});
        AppendCell(out, Cell{SizeText(e.flashSize)});
        AppendCell(out, Cell{SizeText(e.ram)});
        AppendCell(out, Cell{e.package});
        for (std::size_t c : columns)
            AppendCell(out, Cell{e.models[c] ? "Yes" : "--", "center"});
        out += "  </tr>\r\n";
    }
}

std::string BuildText(const std::vector<Entry>& entries, HtmlList list) {
    auto columns = ColumnsOf(list);
    bool st7 = list == HtmlList::ST7;
    std::string out = "<CENTER>\r\n";
    out += "<TABLE BORDER=1 BGCOLOR=\"#FFFFFF\" BORDERCOLOR=\"#000000\" ";
    out += "BORDERCOLORDARK=\"#000000\" BORDERCOLORLIGHT=\"#000000\">\r\n";
    out += "<CAPTION>serial mode (in target)</CAPTION>\r\n";
    out += "  <tr>\r\n";
    AppendHeaderCell(out, "Group", 2);
    AppendHeaderCell(out, "MCU", 2);
    AppendHeaderCell(out, "Memory Size bytes", 1, 2);
    AppendHeaderCell(out, "Package", 2);
    if (!columns.empty()) AppendHeaderCell(out, "Vantrel", 1, static_cast<int>(columns.size()));
    out += "  </tr>\r\n";
    out += "  <tr>\r\n";
    AppendHeaderCell(out, "Flash Memory");
    AppendHeaderCell(out, "RAM");
    for (std::size_t c : columns)
        AppendHeaderCell(out, ModelColumns()[c].name);
    out += "  </tr>\r\n";
    out += st7 ? "\r\n<!-- ** Modifiable data of ST7 starts here  ******* -->\r\n\r\n"
               : "\r\n<!-- ** Modifiable data of serial mode starts here  ******** -->\r\n\r\n";
    std::vector<const Entry*> group;
    for (const auto& e : entries) {
        if (!Belongs(e, list)) continue;
        if (!group.empty() && CompareNoCase(group.front()->group, e.group) != 0) {
            AppendGroup(out, group, columns);
            group.clear();
        }
        group.push_back(&e);
    }
    if (!group.empty()) AppendGroup(out, group, columns);
    out += st7 ? "\r\n<!-- ** Modifiable data of ST7 ends here  ********** -->\r\n\r\n"
               : "\r\n<!-- ** Modifiable data of serial mode ends here  ********** -->\r\n\r\n";
    out += st7 ? "</TABLE>\r\n" : "</table>\r\n<p>\r\n";
    out += "</CENTER>\r\n";
    return out;
}

// A failed write after the file was created counts as a failed file too.
bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return !out.fail();
}

} // namespace

std::string BuildDeviceHtml(const DeviceTable& table, HtmlList list) {
    return BuildText(BuildEntries(table), list);
}

void ExportDeviceHtml(Ui& ui, const DeviceTable& table, const std::string& directory) {
    auto entries = BuildEntries(table);
    struct File {
        const char* name;
        HtmlList list;
        bool ok = false;
    } files[] = {{"FlashMCUs.html", HtmlList::Flash},
                 {"Vantrel5MCUs.html", HtmlList::Vantrel5},
                 {"FlashST7MCUs.html", HtmlList::ST7}};
    for (auto& file : files) {
        file.ok = WriteText(directory + "/" + file.name, BuildText(entries, file.list));
        if (!file.ok)
            ui.MessageBox(std::string("The HTML file ") + file.name + "\n could not be saved !",
                          "HTML export", MsgButtons::Ok, MsgIcon::Error, MsgAnswer::Ok);
    }
    bool serialOk = files[0].ok && files[1].ok;
    bool st7Ok = files[2].ok;
    const std::string& d = directory;
    std::string message;
    if (serialOk && st7Ok)
        message = "The HTML files are saved as: \n" + d + "/FlashMCUs.html\n" + d +
                  "/Vantrel5MCUs.html\n" + d + "/FlashST7MCUs.html";
    else if (serialOk)
        message = "The HTML file was saved as: \n" + d + "/FlashMCUs.html";
    else if (st7Ok)
        message = "The HTML file was saved as: \n" + d + "/FlashST7MCUs.html";
    if (!message.empty())
        ui.MessageBox(message, "HTML export", MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok);
}

} // namespace vantrel
