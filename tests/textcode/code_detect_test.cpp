// Detection on byte strings written out by hand, the automatic choice, and
// the byte classification helpers checked over every byte value.
#include <gtest/gtest.h>

#include <string>

#include "textcode/code_detect.h"
#include "textcode/text_code.h"
#include "textcode/hex.h"

namespace rd {
namespace {

using test::Hex;

struct DetectCase {
  const char* name;
  std::string data;
  DetectedCode expected;
};

void PrintTo(const DetectCase& c, std::ostream* os) { *os << c.name; }

std::string Ascii(std::size_t n) { return std::string(n, 'a'); }

class DetectCodeCases : public ::testing::TestWithParam<DetectCase> {};

TEST_P(DetectCodeCases, NamesTheCode) {
  const DetectCase& c = GetParam();
  EXPECT_EQ(DetectCode(c.data), c.expected) << test::ToHex(c.data.substr(0, 64));
}

INSTANTIATE_TEST_SUITE_P(
    Marks, DetectCodeCases,
    ::testing::Values(DetectCase{"Empty", "", DetectedCode::Binary},
                      DetectCase{"Utf16LeMarkOnly", Hex("FF FE"), DetectedCode::Utf16Le},
                      DetectCase{"Utf16LeMarkBeforeAnything", Hex("FF FE 82 A0 41 41"), DetectedCode::Utf16Le},
                      DetectCase{"Utf16BeMark", Hex("FE FF 00 41"), DetectedCode::Utf16Be},
                      DetectCase{"Utf8MarkAndOneByte", Hex("EF BB BF 41"), DetectedCode::Utf8Bom},
                      // Exactly the three mark bytes: the Japanese scan sees EF BB.
                      DetectCase{"Utf8MarkAlone", Hex("EF BB BF"), DetectedCode::EucOrSjis}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Utf8Scan, DetectCodeCases,
    ::testing::Values(
        DetectCase{"ThreeByteThenThreeAscii", Hex("E3 81 82 41 41 41"), DetectedCode::Utf8},
        // Five bytes or fewer never count as UTF-8; E3 81 then decides Shift_JIS.
        DetectCase{"ThreeByteThenTwoAscii", Hex("E3 81 82 41 41"), DetectedCode::Sjis},
        DetectCase{"E0NeedsA0AtLeast", Hex("E0 9F 80 41 41 41"), DetectedCode::Sjis},
        DetectCase{"E0WithA0", Hex("E0 A0 80 41 41 41"), DetectedCode::Utf8},
        DetectCase{"TwoByteOnly", Hex("C3 A9 41 41 41 41"), DetectedCode::EucOrSjis},
        DetectCase{"ThreeByteThenTwoByte", Hex("E3 81 82 C3 A9 41 41 41 41 41"), DetectedCode::Sjis},
        DetectCase{"FourByte", Hex("F0 9F 98 80 41 41 41"), DetectedCode::Euc},
        DetectCase{"LoneContinuation", Hex("41 81 41 41 41 41 41"), DetectedCode::Sjis},
        // Positions 1020..1022 hold the sequence: the scan reaches it.
        DetectCase{"SequenceAtPosition1022", Ascii(1021) + Hex("E3 81 82") + "aaa", DetectedCode::Utf8},
        DetectCase{"SequenceAtPosition1024", Ascii(1023) + Hex("E3 81 82") + "aaa", DetectedCode::Utf8},
        DetectCase{"SequenceAtPosition1025", Ascii(1024) + Hex("E3 81 82") + "aaa", DetectedCode::Sjis},
        // A 1024-byte UTF-8 prefix decides, whatever follows it.
        DetectCase{"BrokenAfterTheLimit", Hex("E3 81 82") + Ascii(1100) + Hex("C3 A9"), DetectedCode::Utf8},
        // The sequence must start before the last five bytes.
        DetectCase{"SequenceSixFromTheEnd", Ascii(4) + Hex("E3 81 82") + "aaa", DetectedCode::Utf8},
        DetectCase{"SequenceFiveFromTheEnd", Ascii(4) + Hex("E3 81 82") + "aa", DetectedCode::Sjis}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    BinaryTest, DetectCodeCases,
    ::testing::Values(DetectCase{"NulInside", Hex("41 00 41"), DetectedCode::Binary},
                      DetectCase{"NulAsLastByte", Hex("41 41 00"), DetectedCode::Ascii},
                      DetectCase{"TwoBytesTestsTheFirst", Hex("07 41"), DetectedCode::Binary},
                      DetectCase{"TwoBytesSkipsTheSecond", Hex("41 07"), DetectedCode::Ascii},
                      DetectCase{"Byte07", Hex("41 07 41"), DetectedCode::Binary},
                      DetectCase{"Byte08", Hex("41 08 41"), DetectedCode::Ascii},
                      DetectCase{"ByteFF", Hex("41 FF 41"), DetectedCode::Binary},
                      DetectCase{"NulAtPosition1024", Ascii(1023) + Hex("00") + "a", DetectedCode::Binary},
                      // Past the limit only the Japanese scan can find it.
                      DetectCase{"NulAfterTheLimit", Ascii(1024) + Hex("00") + "a", DetectedCode::Binary},
                      DetectCase{"NulAfterADecision", Ascii(1024) + Hex("82 A0 00") + "a", DetectedCode::Sjis}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    JapaneseScan, DetectCodeCases,
    ::testing::Values(
        DetectCase{"AsciiOnly", "plain text\r\n", DetectedCode::Ascii},
        DetectCase{"JisNew", Hex("61 1B 24 42 24 42 1B 28 42"), DetectedCode::JisNew},
        DetectCase{"JisOld", Hex("1B 24 40 30 21"), DetectedCode::JisOld},
        DetectCase{"EscapeOfAnotherKind", Hex("1B 24 41 41 41"), DetectedCode::Ascii},
        DetectCase{"EscapeCutByTheEnd", Hex("41 1B 24"), DetectedCode::Ascii},
        DetectCase{"SjisKanji", Hex("8A BF"), DetectedCode::Sjis},
        DetectCase{"EucKanjiUndecided", Hex("B4 C1"), DetectedCode::EucOrSjis},
        DetectCase{"UndecidedThenSjis", Hex("B4 C1 82 A0 0D 0A"), DetectedCode::Sjis},
        DetectCase{"EucSecondByteF0", Hex("B4 F0 41"), DetectedCode::Euc},
        DetectCase{"EucLeadF0", Hex("F0 41 41"), DetectedCode::Euc},
        DetectCase{"KatakanaThenLowByte", Hex("B1 41 41"), DetectedCode::Sjis},
        DetectCase{"KatakanaThenA0", Hex("B1 A0 41"), DetectedCode::Ascii},
        DetectCase{"SingleShiftKatakana", Hex("8E B1 41"), DetectedCode::EucOrSjis},
        DetectCase{"SingleShiftAsSjis", Hex("8E 41 41"), DetectedCode::Sjis},
        DetectCase{"SingleShiftThenControl", Hex("8E 20 41"), DetectedCode::Ascii},
        DetectCase{"LeadE0ThenLow", Hex("E0 40 41"), DetectedCode::Sjis},
        DetectCase{"LeadE0ThenA0", Hex("E0 A0 41"), DetectedCode::Sjis},
        DetectCase{"LeadE0ThenFD", Hex("E0 FD 41"), DetectedCode::Euc},
        DetectCase{"LeadE0ThenHigh", Hex("E0 A1 41"), DetectedCode::EucOrSjis},
        DetectCase{"Bytes80AndA0DecideNothing", Hex("80 A0 41"), DetectedCode::Ascii},
        DetectCase{"LastByteNeverLeads", Hex("41 41 82"), DetectedCode::Ascii},
        // Katakana followed by E0..EF: the run decides on 81..8D, 8F..9C or FD..FE.
        DetectCase{"RunFinds9C", Hex("B1 E0 E0 9C 41"), DetectedCode::Sjis},
        DetectCase{"RunSkips9D", Hex("B1 E0 9D 41 41"), DetectedCode::EucOrSjis},
        DetectCase{"RunSkips8E", Hex("B1 E0 8E 41 41"), DetectedCode::EucOrSjis},
        DetectCase{"RunFindsFD", Hex("B1 E0 41 FD 41"), DetectedCode::Euc},
        DetectCase{"RunSkipsFFPastTheLimit", Ascii(1100) + Hex("B1 E0 FF 41 41"), DetectedCode::EucOrSjis},
        DetectCase{"RunIgnoresItsLastByte", Hex("41 B1 E0 83"), DetectedCode::EucOrSjis},
        // The byte below 40 that ends the run is consumed: 20, then 83 leads.
        DetectCase{"RunEndsAtLowByte", Hex("B1 E0 20 83 41"), DetectedCode::Sjis},
        DetectCase{"RunEndConsumesTheLowByte", Hex("B1 E0 1B 24 42 41"), DetectedCode::EucOrSjis},
        // Only the first 1024 bytes are tested for binary bytes; the scan
        // runs on to a decision.
        DetectCase{"DecisionFarAway", Ascii(100000) + Hex("A4 A2 F0 41"), DetectedCode::Euc}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DetectJapaneseCode, IgnoresMarksAndTheUtf8Scan) {
  EXPECT_EQ(DetectJapaneseCode(""), DetectedCode::Ascii);
  EXPECT_EQ(DetectJapaneseCode(Hex("FF FE 41")), DetectedCode::Binary);
  EXPECT_EQ(DetectJapaneseCode(Hex("EF BB BF 41")), DetectedCode::Sjis);  // BF 41 decides
  EXPECT_EQ(DetectJapaneseCode(Hex("E3 81 82 41 41 41")), DetectedCode::Sjis);
}

TEST(ChooseTextCode, ReadsOnlyEucAndUtf8Converted) {
  const struct {
    int detected;
    TextCode code;
  } table[] = {{0, TextCode::Sjis},  {1, TextCode::Sjis},  {2, TextCode::Sjis}, {3, TextCode::Sjis},
               {4, TextCode::Euc},   {5, TextCode::Sjis},  {6, TextCode::Euc},  {7, TextCode::Sjis},
               {8, TextCode::Sjis},  {9, TextCode::Sjis},  {10, TextCode::Utf8}, {11, TextCode::Sjis},
               {255, TextCode::Sjis}};
  for (const auto& row : table)
    EXPECT_EQ(ChooseTextCode(static_cast<DetectedCode>(row.detected)), row.code) << row.detected;
}

TEST(IsSjisLead, EveryByteValue) {
  for (int b = 0; b < 256; ++b) {
    const bool lead = (0x81 <= b && b <= 0x9F) || (0xE0 <= b && b <= 0xFC);
    EXPECT_EQ(IsSjisLead(static_cast<std::uint8_t>(b)), lead) << b;
  }
}

TEST(IsValidUtf8, WellFormedOnly) {
  const struct {
    const char* hex;
    bool valid;
  } table[] = {{"", true},
               {"41 42 0A 00", true},
               {"C2 A9", true},
               {"E3 81 82", true},
               {"EF BB BF", true},
               {"F0 9F 98 80", true},
               {"F4 8F BF BF", true},
               {"C0 AF", false},        // overlong "/"
               {"C1 BF", false},
               {"E0 9F BF", false},     // overlong
               {"ED A0 80", false},     // surrogate
               {"F0 8F BF BF", false},  // overlong
               {"F4 90 80 80", false},  // above U+10FFFF
               {"F5 80 80 80", false},
               {"E3 81", false},        // cut by the end
               {"41 41 41 41 41 41 41 41 E3 81", false},
               {"80", false},
               {"FF", false},
               {"82 A0", false}};       // Shift_JIS
  for (const auto& row : table) EXPECT_EQ(IsValidUtf8(Hex(row.hex)), row.valid) << row.hex;
}

}  // namespace
}  // namespace rd
