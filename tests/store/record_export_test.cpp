#include "store/record_export.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

constexpr char kHeader[] =
    "time_start,time_end,station,port,port_by_path,module_name,module_version,module_type,"
    "mac_before,mac_written,config_file,config_sha256,outcome,reason,verified,read_ms,write_ms,"
    "verify_ms,rework,note,order";

ProductionRecord Programmed() {
    ProductionRecord record;
    record.timeStart = 1772352902047;
    record.timeEnd = 1772352902815;
    record.station = "line-2";
    record.port = "/dev/ttyUSB0";
    record.portByPath = "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0";
    record.moduleName = "KTR5520Q";
    record.moduleVersion = "V2.1";
    record.moduleType = "node";
    record.macBefore = "4E 5F 1A 2B 00 00";
    record.macWritten = "4E 5F 1A 2B 00 07";
    record.configFile = "line.cfg";
    record.configSha256 = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";
    record.outcome = "ok";
    record.reason = "written";
    record.verified = true;
    record.readMs = 611;
    record.writeMs = 93;
    record.verifyMs = 604;
    record.order = "WO-7";
    return record;
}

TEST(RecordCsv, HasTheHeaderAndOneRowPerRecordInColumnOrder) {
    ProductionRecord unread = Programmed();
    unread.verified.reset();
    unread.readMs.reset();
    unread.writeMs.reset();
    unread.verifyMs.reset();
    std::ostringstream out;
    ExportRecords({Programmed(), unread}, RecordFormat::Csv, out);
    const std::string common =
        "2026-03-01T08:15:02.047Z,2026-03-01T08:15:02.815Z,line-2,/dev/ttyUSB0,"
        "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0,KTR5520Q,V2.1,node,"
        "4E 5F 1A 2B 00 00,4E 5F 1A 2B 00 07,line.cfg,"
        "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08,ok,written,";
    EXPECT_EQ(out.str(), std::string(kHeader) + "\n" + common + "true,611,93,604,false,,WO-7\n" +
                             common + ",,,,false,,WO-7\n");
}

struct CsvText {
    const char* name;
    const char* text;
    const char* field;
};

void PrintTo(const CsvText& row, std::ostream* out) {
    *out << row.name;
}

class RecordCsvField : public testing::TestWithParam<CsvText> {};

TEST_P(RecordCsvField, IsQuotedOrDisarmedWhereItMustBe) {
    ProductionRecord record = Programmed();
    record.moduleName = GetParam().text;
    const std::string row = RecordCsvRow(record);
    EXPECT_NE(row.find(",V2.1,"), std::string::npos);
    EXPECT_NE(row.find(std::string("-port0,") + GetParam().field + ",V2.1,"), std::string::npos)
        << row;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RecordCsvField,
    testing::Values(CsvText{"Plain", "KTR 5520", "KTR 5520"}, CsvText{"Comma", "a,b", "\"a,b\""},
                    CsvText{"Quote", "say \"hi\"", "\"say \"\"hi\"\"\""},
                    CsvText{"LineBreak", "two\nlines", "\"two\nlines\""},
                    CsvText{"Formula", "=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
                    CsvText{"PlusSign", "+1", "'+1"}, CsvText{"AtSign", "@SUM(A1)", "'@SUM(A1)"},
                    CsvText{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordJsonLines, HaveTheColumnsAsKeysInOrderWithNullForWhatDidNotRun) {
    ProductionRecord unread = Programmed();
    unread.verified.reset();
    unread.verifyMs.reset();
    std::ostringstream out;
    ExportRecords({Programmed(), unread}, RecordFormat::JsonLines, out);
    std::istringstream lines(out.str());
    std::string line;
    std::vector<nlohmann::ordered_json> objects;
    while (std::getline(lines, line)) {
        objects.push_back(nlohmann::ordered_json::parse(line));
    }
    ASSERT_EQ(objects.size(), 2u);
    std::vector<std::string> keys;
    for (const auto& item : objects[0].items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, std::vector<std::string>(kRecordColumnNames.begin(), kRecordColumnNames.end()));
    EXPECT_EQ(objects[0]["time_start"], "2026-03-01T08:15:02.047Z");
    EXPECT_EQ(objects[0]["verified"], true);
    EXPECT_EQ(objects[0]["read_ms"], 611);
    EXPECT_EQ(objects[0]["mac_written"], "4E 5F 1A 2B 00 07");
    EXPECT_TRUE(objects[1]["verified"].is_null());
    EXPECT_TRUE(objects[1]["verify_ms"].is_null());
    EXPECT_EQ(objects[1]["write_ms"], 93);
}

TEST(RecordJsonLines, BytesThatAreNotUtf8AreReplacedInsteadOfFailingTheExport) {
    ProductionRecord record = Programmed();
    record.moduleName = std::string("KTR\xff\xfe", 5);
    const auto object = nlohmann::json::parse(RecordJsonLine(record));
    EXPECT_EQ(object["module_name"], "KTR\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
