#include <gtest/gtest.h>

#include <map>

#include "instrument/byte_link.h"
#include "instrument/comm_settings.h"

namespace corvan {
namespace {

TEST(SendTraceTest, ControlBytesAreWrittenAsHex) {
    const std::uint8_t bytes[] = {0x05, 0x06, 0x15, 0x1B, 'A', 0x0D, 0x7F, 0x20};
    EXPECT_EQ(SendTraceLine(bytes), "SEND:#$05#$06#$15#$1BA#$0D\x7F ");
    EXPECT_EQ(SendTraceLine({}), "SEND:");
}

TEST(LinkSettingsTest, ParityLettersAndStopBits) {
    EXPECT_EQ(ParityFromLetter('e'), ParityKind::Even);
    EXPECT_EQ(ParityFromLetter('E'), ParityKind::Even);
    EXPECT_EQ(ParityFromLetter('o'), ParityKind::Odd);
    EXPECT_EQ(ParityFromLetter('M'), ParityKind::Mark);
    EXPECT_EQ(ParityFromLetter('s'), ParityKind::Space);
    EXPECT_EQ(ParityFromLetter('x'), ParityKind::None);
    EXPECT_EQ(StopBitsFromCode(1), StopBitsKind::OneAndHalf);
    EXPECT_EQ(StopBitsFromCode(2), StopBitsKind::Two);
    EXPECT_EQ(StopBitsFromCode(9), StopBitsKind::One);
}

class MapStore : public SettingsAccess {
public:
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const override {
        const auto it = values.find(section + "/" + key);
        return it == values.end() ? def : it->second;
    }
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        values[section + "/" + key] = value;
    }
    std::map<std::string, std::string> values;
};

TEST(CommSettingsTest, DefaultsAndTextThatIsNotANumber) {
    MapStore store;
    CommSettings s = LoadCommSettings(store);
    EXPECT_EQ(s.port, 1);
    EXPECT_EQ(s.baud, 9600);
    EXPECT_EQ(s.device, "");
    store.values["Comm/Port"] = "three";
    store.values["Comm/CorvanBaud"] = "19200x";
    s = LoadCommSettings(store);
    EXPECT_EQ(s.port, 1);
    EXPECT_EQ(s.baud, 9600);
    store.values["Comm/Port"] = "300";
    EXPECT_EQ(LoadCommSettings(store).port, 1);
}

TEST(CommSettingsTest, SavedAsDecimalTextAndReadBack) {
    MapStore store;
    SaveCommSettings(store, {4, 115200, "/dev/ttyUSB0"});
    EXPECT_EQ(store.values["Comm/Port"], "4");
    EXPECT_EQ(store.values["Comm/CorvanBaud"], "115200");
    EXPECT_EQ(store.values["Comm/Device"], "/dev/ttyUSB0");
    const CommSettings s = LoadCommSettings(store);
    EXPECT_EQ(s.port, 4);
    EXPECT_EQ(s.baud, 115200);
    EXPECT_EQ(s.device, "/dev/ttyUSB0");
}

}  // namespace
}  // namespace corvan
