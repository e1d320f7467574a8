// The HTML lists: which devices go into which file, the exact markup of headers, groups and
// cells, the size texts, and the export's messages.
#include <gtest/gtest.h>

#include "DeviceTestData.h"
#include "app/App.h"
#include "device/DeviceHtml.h"
#include "support/AppFixture.h"

namespace vantrel {
namespace {

DeviceRecord Device(const std::string& id, const std::string& group, uint8_t algoS, uint32_t flash,
                    uint32_t ram, uint8_t serial = 3) {
    DeviceRecord d;
    d.manufacturer = "Kestrel";
    d.name = id;
    d.group = group;
    d.package = "SO20";
    d.device = id;
    d.algoS = algoS;
    d.ram = ram;
    d.serialSupport = serial;
    d.areas = {test::Area("FLASH", 7, {{0x8000, flash}}), test::Area("EE", 3, {{0x100, 0x80}})};
    return d;
}

const std::string kHead = "<CENTER>\r\n"
                          "<TABLE BORDER=1 BGCOLOR=\"#FFFFFF\" BORDERCOLOR=\"#000000\" "
                          "BORDERCOLORDARK=\"#000000\" BORDERCOLORLIGHT=\"#000000\">\r\n"
                          "<CAPTION>serial mode (in target)</CAPTION>\r\n"
                          "  <tr>\r\n"
                          "    <td BGCOLOR=\"#2C2CCC\" rowspan=2><STRONG><FONT "
                          "COLOR=\"#FFFFFF\">Group</FONT></STRONG></td>\r\n"
                          "    <td BGCOLOR=\"#2C2CCC\" rowspan=2><STRONG><FONT "
                          "COLOR=\"#FFFFFF\">MCU</FONT></STRONG></td>\r\n"
                          "    <td BGCOLOR=\"#2C2CCC\" colspan=2><STRONG><FONT "
                          "COLOR=\"#FFFFFF\">Memory Size bytes</FONT></STRONG></td>\r\n"
                          "    <td BGCOLOR=\"#2C2CCC\" rowspan=2><STRONG><FONT "
                          "COLOR=\"#FFFFFF\">Package</FONT></STRONG></td>\r\n";

std::string Header(const std::string& text) {
    return "    <td BGCOLOR=\"#2C2CCC\"><STRONG><FONT COLOR=\"#FFFFFF\">" + text +
           "</FONT></STRONG></td>\r\n";
}

TEST(DeviceHtml, ST7ListMarkupGroupsAndSizes) {
    test::FakeUi ui;
    DeviceTable table;
    AddDevice(ui, table, Device("KS7B", "KS7 Lite", 136, 0x1000, 1536));
    AddDevice(ui, table, Device("KS7A", "ks7 lite", 137, 0x10000, 0));
    AddDevice(ui, table, Device("ks7a", "KS7 LITE", 137, 0x800, 0)); // same four texts: left out
    AddDevice(ui, table, Device("KS7C", "KS7 Extended", 137, 0x1800, 256));
    AddDevice(ui, table, Device("KS7D", "KS7 Extended", 137, 0x1800, 256, 0)); // not serial
    AddDevice(ui, table, Device("KS60", "Other", 130, 0x1800, 256));
    std::string expected = kHead + "  </tr>\r\n  <tr>\r\n" + Header("Flash Memory") +
                           Header("RAM") +
                           "  </tr>\r\n"
                           "\r\n<!-- ** Modifiable data of ST7 starts here  ******* -->\r\n\r\n"
                           "  <!-- ******************************************************* -->\r\n"
                           "  <!-- ** New group: KS7 Extended **************************** -->\r\n"
                           "  <tr>\r\n"
                           "    <td class=\"tbl_header\">KS7 Extended</td>\r\n"
                           "    <td>KS7C</td>\r\n"
                           "    <td>6 KB</td>\r\n"
                           "    <td>256 Bytes</td>\r\n"
                           "    <td>SO20</td>\r\n"
                           "  </tr>\r\n"
                           "  <!-- ******************************************************* -->\r\n"
                           "  <!-- ** New group: ks7 lite ******************************** -->\r\n"
                           "  <tr>\r\n"
                           "    <td class=\"tbl_header\" rowspan=2>ks7 lite</td>\r\n"
                           "    <td>KS7A</td>\r\n"
                           "    <td>64 KB</td>\r\n"
                           "    <td>--</td>\r\n"
                           "    <td>SO20</td>\r\n"
                           "  </tr>\r\n"
                           "  <tr>\r\n"
                           "    <td>KS7B</td>\r\n"
                           "    <td>4 KB</td>\r\n"
                           "    <td>1536 Bytes</td>\r\n"
                           "    <td>SO20</td>\r\n"
                           "  </tr>\r\n"
                           "\r\n<!-- ** Modifiable data of ST7 ends here  ********** -->\r\n\r\n"
                           "</TABLE>\r\n</CENTER>\r\n";
    EXPECT_EQ(BuildDeviceHtml(table, HtmlList::ST7), expected);
}

TEST(DeviceHtml, ModelColumnsOfTheSerialLists) {
    test::FakeUi ui;
    DeviceTable table;
    AddDevice(ui, table, Device("NR8C", "NR8C", 143, 0x4000, 0x400)); // R8C
    AddDevice(ui, table, Device("KS7", "KS7", 136, 0x4000, 0x400));   // ST7: not in these lists
    std::string flash = BuildDeviceHtml(table, HtmlList::Flash);
    EXPECT_NE(flash.find(Header("MV3") + Header("3") + Header("4") + Header("4R1") + Header("5") +
                         Header("5R3") + Header("5NXT") + "  </tr>\r\n"),
              std::string::npos);
    EXPECT_NE(flash.find("COLOR=\"#FFFFFF\">Vantrel</FONT>"), std::string::npos);
    EXPECT_NE(flash.find("<td BGCOLOR=\"#2C2CCC\" colspan=7>"), std::string::npos);
    std::string no = "    <td class=\"center\">--</td>\r\n";
    std::string yes = "    <td class=\"center\">Yes</td>\r\n";
    EXPECT_NE(flash.find("<td>SO20</td>\r\n" + no + no + no + no + no + yes + yes + "  </tr>"),
              std::string::npos);
    EXPECT_EQ(flash.find("KS7"), std::string::npos);
    EXPECT_NE(flash.find("</table>\r\n<p>\r\n</CENTER>\r\n"), std::string::npos);
    std::string five = BuildDeviceHtml(table, HtmlList::Vantrel5);
    EXPECT_NE(five.find("colspan=2><STRONG><FONT COLOR=\"#FFFFFF\">Vantrel"), std::string::npos);
    EXPECT_NE(five.find("<td>SO20</td>\r\n" + yes + yes + "  </tr>"), std::string::npos);

    DeviceTable empty;
    std::string none = BuildDeviceHtml(empty, HtmlList::Flash);
    EXPECT_NE(none.find("starts here  ******** -->\r\n\r\n\r\n<!-- ** Modifiable data of serial "
                        "mode ends here"),
              std::string::npos);
}

class HtmlExport : public test::AppFixture {};

TEST_F(HtmlExport, FinalMessageSaysWhichFilesWereWritten) {
    AddDevice(ui, app->devices, Device("NR8C", "NR8C", 143, 0x4000, 0x400));
    std::string d = dir.Path().string();
    ExportDeviceHtml(ui, app->devices, d);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "The HTML files are saved as: \n" + d + "/FlashMCUs.html\n" + d +
                                    "/Vantrel5MCUs.html\n" + d + "/FlashST7MCUs.html");
    EXPECT_EQ(ui.boxes[0].caption, "HTML export");
    EXPECT_EQ(test::ReadFile(dir / "FlashMCUs.html"),
              BuildDeviceHtml(app->devices, HtmlList::Flash));

    // A directory in the way of one file name makes that file fail.
    ui.boxes.clear();
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_directory(dir / "sub" / "FlashST7MCUs.html");
    ExportDeviceHtml(ui, app->devices, (dir / "sub").string());
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "The HTML file FlashST7MCUs.html\n could not be saved !");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Error);
    EXPECT_EQ(ui.boxes[1].text,
              "The HTML file was saved as: \n" + (dir / "sub").string() + "/FlashMCUs.html");

    ui.boxes.clear();
    ExportDeviceHtml(ui, app->devices, (dir / "nowhere").string());
    EXPECT_EQ(ui.boxes.size(), 3u); // three failures, no final message
}

} // namespace
} // namespace vantrel
