// Logs and configuration files that no logging program would write: stray NUL and 0xFF bytes,
// carriage returns only, lines of megabytes, millions of lines, random bytes, folders and files
// that vanish, columns at the limits of an integer and words wider than their fields. Each must
// end in the evaluator's ordinary outcome (a refusal with its message, a warning, a score), with
// every text kept within its capacity.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "intake/column_config_file.h"
#include "intake/load_command.h"
#include "platform/cp1250.h"
#include "platform/std_files.h"
#include "report/protocol.h"
#include "scoring/scoring_passes.h"
#include "state/window_logic.h"
#include "support/recording_platform.h"

namespace zeb::test {
namespace {

namespace fs = std::filesystem;

const std::string kNoEnd = "To neni denik cabrillo!\nDeník ma končit\nEND-OF-LOG: ";
const std::string k25Lines = "To neni denik cabrillo!\nNačteno 25 řádků a QSO nikde!";
const std::string kTooMany = "Načteno QSO č.2000\nTo není deník z ZEB QSO party!";
const std::string kCannotOpen = "Nelze otevřít deník cabrillo!";
const std::string kAutoConfigFailed =
    "Automatická konfigurace selhala!\nZkus ruční konfiguraci\nPotom se třeba dá něco spočítat";

std::string tabMessage(long line) {
    return "Na řádku č. " + std::to_string(line) +
           " je nepřípustný\nznak tabulátor!\n(ASCII kód 9)";
}

std::string unknownPrefix(const std::string& call, int row) {
    return "pro call " + call + "\nna radku " + std::to_string(row) + "\nnenalezen prefix";
}

std::string rightTrimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) {
        text.pop_back();
    }
    return text;
}

std::string padded(const std::string& text, std::size_t width = 80) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

// The QSO lines of a protocol, in order, without their line ends.
std::vector<std::string> protocolQsoLines(const std::string& protocol) {
    const std::string rule = std::string(99, '-') + "\n";
    const std::size_t start = protocol.rfind(rule);
    std::vector<std::string> lines;
    if (start == std::string::npos) {
        return lines;
    }
    std::istringstream rest(protocol.substr(start + rule.size()));
    for (std::string line; std::getline(rest, line) && line != "END-OF-LOG:";) {
        lines.push_back(line);
    }
    return lines;
}

// The protocol line of a valid QSO: its text in 80 columns, then country, points and
// multipliers in their columns, then the closing space.
std::string validLine(const std::string& text, const std::string& country, int points, int clubMult,
                      int dxccMult) {
    std::string countryColumn = country;
    countryColumn.resize(5, ' ');
    std::string pointsColumn = std::to_string(points);
    pointsColumn.resize(2, ' ');
    return padded(text) + "   " + countryColumn + pointsColumn + "  " + std::to_string(clubMult) +
           "  " + std::to_string(dxccMult) + "   ";
}

std::string verdictLine(const std::string& text, const std::string& verdict) {
    return padded(text) + verdict + " ";
}

// Dialogs and the process end are recorded as the recording platform does, but logs come from
// `opener` and files are real.
class OpeningPlatform final : public Platform {
  public:
    using Opener = std::function<std::unique_ptr<TextInput>(const std::string&)>;
    explicit OpeningPlatform(Opener opener) : opener_(std::move(opener)) {}

    DialogButton messageDialog(const std::string& text, DialogKind kind,
                               DialogButtons buttons) override {
        return recorder.messageDialog(text, kind, buttons);
    }
    void endProcess(int exitCode) override { recorder.endProcess(exitCode); }
    std::unique_ptr<TextInput> openTextForReading(const std::string& path) override {
        return opener_(path);
    }
    bool fileExists(const std::string& path) override { return isReadableFile(path); }
    WriteOutcome writeTextFile(const std::string& path, const std::string& content) override {
        return writeTextFileAtomically(path, content);
    }

    RecordingPlatform recorder;

  private:
    Opener opener_;
};

struct OpenedEvaluation {
    explicit OpenedEvaluation(OpeningPlatform::Opener opener = openTextFileForReading)
        : state(makeEvaluationState()), platform(std::move(opener)), window(*state, platform) {
        formCreate(*state, window);
    }
    LoadOutcome load(const std::string& path) {
        prepareLoad(*state, window);
        return loadLog(*state, window, platform, path, true);
    }
    const std::vector<RecordedDialog>& dialogs() const { return platform.recorder.dialogs; }
    const std::vector<int>& exitCodes() const { return platform.recorder.exitCodes; }

    std::unique_ptr<EvaluationState> state;
    OpeningPlatform platform;
    HeadlessWindow window;
};

// A log made while it is read, so that millions of lines take no memory: `head`, `count` times
// `line` with a line feed, then `tail`. Counts the bytes it has handed out.
class RepeatedLines final : public TextInput {
  public:
    RepeatedLines(std::string head, std::string line, long count, std::string tail,
                  long long& delivered)
        : parts_{std::move(head), std::move(line) + "\n", std::move(tail)},
          count_(count),
          delivered_(delivered) {}

  protected:
    int rawGet() override {
        while (part_ < 3) {
            const std::string& text = parts_[part_];
            if (position_ < text.size()) {
                ++delivered_;
                return static_cast<unsigned char>(text[position_++]);
            }
            position_ = 0;
            if (part_ == 1 && ++repeated_ < count_) {
                continue;
            }
            ++part_;
            if (part_ == 1 && count_ == 0) {
                ++part_;
            }
        }
        return kEndOfFile;
    }

  private:
    std::string parts_[3];
    long count_;
    long long& delivered_;
    int part_ = 0;
    std::size_t position_ = 0;
    long repeated_ = 0;
};

class HostileFiles : public testing::Test {
  protected:
    void SetUp() override {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name) {
            c = c == '/' ? '-' : c;
        }
        folder =
            fs::temp_directory_path() / ("zeb-hostile-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string write(const std::string& name, const std::string& content) const {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    fs::path folder;
};

std::string fixture(const std::string& name) {
    return std::string(ZEB_TEST_DATA_DIR) + "/hostile/" + name;
}

// Slot 0 is an 80 m member QSO on which the columns are found (call at 55, exchange at 73); the
// probe is the 20 m line that the byte tests spoil. Its call DL1XYZ stands in columns 55 to 60
// and its exchange 456 in columns 73 to 75, the end of the line.
const std::string kFirst = qsoLine("3520", "OK1ABC", "123");
const std::string kProbe = qsoLine("14020", "DL1XYZ", "456");

std::string probeLog(const std::string& probe) {
    return cabrilloLog({kFirst, probe});
}

// ---------------------------------------------------------------------------------------------
// Bytes that are not text

TEST(HostileBytes, ANulByteCutsAQsoLineWhereverItStands) {
    ASSERT_EQ(kProbe.size(), 76u);
    for (std::size_t p = 0; p < kProbe.size(); ++p) {
        SCOPED_TRACE("NUL in column " + std::to_string(p));
        std::string probe = kProbe;
        probe[p] = '\0';
        Evaluation evaluation;
        ASSERT_EQ(evaluation.load(probeLog(probe)), LoadOutcome::Loaded)
            << evaluation.dialogTexts();
        EXPECT_EQ(evaluation.dialogTexts(), "");
        const EvaluationState& state = *evaluation.state;
        EXPECT_EQ(state.columns, (ColumnConfig{55, 10, 73, 10}));
        if (p < 4) {
            // "QSO:" itself is broken: the line is dropped.
            EXPECT_EQ(state.qsoTable.qsoCount, 1);
            ASSERT_TRUE(evaluation.compute());
            EXPECT_EQ(state.totals.result, 20);
            continue;
        }
        ASSERT_EQ(state.qsoTable.qsoCount, 2);
        const std::string text = rightTrimmed(kProbe.substr(0, p));
        EXPECT_EQ(lineOf(state, 1), text);

        ASSERT_TRUE(evaluation.compute());
        const QsoRecord& record = state.qsoTable.slots[1];
        // A cut frequency ("1402" and shorter) lies below every band.
        EXPECT_EQ(record.status, p < 10 ? kStatusOutOfBand : kStatusValid);
        const std::string call =
            p <= 55 ? "" : kProbe.substr(55, std::min<std::size_t>(p, 61) - 55);
        EXPECT_STREQ(record.callText, call.c_str());
        const std::string exchange = p <= 73 ? "NM" : kProbe.substr(73, p - 73);
        EXPECT_STREQ(record.exchText, exchange.c_str());
        EXPECT_EQ(record.memberNumber, p <= 73 ? 0 : std::stoi(exchange));
        if (call.empty()) {
            EXPECT_EQ(evaluation.dialogTexts(), unknownPrefix("", 2) + "|");
        }

        const std::vector<std::string> lines = protocolQsoLines(evaluation.protocol());
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1].substr(0, 80), padded(text));
        EXPECT_EQ(lines[1].size(), p < 10 ? 96u : 99u);
    }
}

TEST(HostileBytes, A0xFFByteIsKeptAndWrittenBackWhereverItStands) {
    for (std::size_t p = 0; p < kProbe.size(); ++p) {
        SCOPED_TRACE("0xFF in column " + std::to_string(p));
        std::string probe = kProbe;
        probe[p] = '\xff';
        Evaluation evaluation;
        ASSERT_EQ(evaluation.load(probeLog(probe)), LoadOutcome::Loaded)
            << evaluation.dialogTexts();
        const EvaluationState& state = *evaluation.state;
        if (p < 4) {
            EXPECT_EQ(state.qsoTable.qsoCount, 1);
            continue;
        }
        ASSERT_EQ(state.qsoTable.qsoCount, 2);
        EXPECT_EQ(lineOf(state, 1), probe);

        ASSERT_TRUE(evaluation.compute());
        const QsoRecord& record = state.qsoTable.slots[1];
        // A 0xFF within the frequency ends its figures, which leaves it below every band.
        EXPECT_EQ(record.status, p < 10 ? kStatusOutOfBand : kStatusValid);
        std::string call = probe.substr(55, 10);
        call = call.substr(0, call.find(' '));
        EXPECT_STREQ(record.callText, call.c_str());
        const bool inExchange = p >= 73;
        EXPECT_STREQ(record.exchText, inExchange ? "NM" : "456");
        EXPECT_EQ(record.memberNumber, inExchange ? 0 : 456);

        const std::string protocol = evaluation.protocol();
        const std::vector<std::string> lines = protocolQsoLines(protocol);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1].substr(0, 80), padded(probe));
    }
}

struct CarriageReturnCase {
    const char* name;
    std::size_t count;
    std::string message;
};

void PrintTo(const CarriageReturnCase& c, std::ostream* os) {
    *os << c.name;
}

class CarriageReturnsOnly : public testing::TestWithParam<CarriageReturnCase> {};

// With no line feed to stand before, every CR is an ordinary character: the file is one line
// after another of 222 CRs, all of them header lines.
TEST_P(CarriageReturnsOnly, AreHeaderLinesOf222CharactersAndTheLogIsRefused) {
    Evaluation evaluation;
    EXPECT_EQ(evaluation.load(std::string(GetParam().count, '\r')), LoadOutcome::Refused);
    EXPECT_EQ(evaluation.dialogTexts(), GetParam().message + "|");
    EXPECT_EQ(evaluation.platform.exitCodes, std::vector<int>{0});
    for (const char* entry : evaluation.state->headerLines.entries) {
        EXPECT_LT(strnlen(entry, kHeaderEntrySize), static_cast<std::size_t>(kHeaderEntrySize));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CarriageReturnsOnly,
    testing::Values(CarriageReturnCase{"a_hundred", 100, kNoEnd},
                    CarriageReturnCase{"just_short_of_26_full_lines", 26 * 222 - 1, kNoEnd},
                    CarriageReturnCase{"26_full_lines", 26 * 222, k25Lines},
                    CarriageReturnCase{"a_million", 1'000'000, k25Lines}),
    [](const testing::TestParamInfo<CarriageReturnCase>& info) { return info.param.name; });

// What the reader does with a file of random bytes, worked out independently: the file is read
// in text mode (a run of CRs before a LF is not delivered), lines end at a LF or after 222
// characters; the first tab, the first character of line 27 or the end of the file, whichever
// comes first, ends the reading. Random data that happens to start a line with "QSO:" or
// "END-OF-LOG" is outside this model (nullopt).
std::optional<std::string> refusalOfRandomBytes(const std::string& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            std::size_t j = i;
            while (j < bytes.size() && bytes[j] == '\r') {
                ++j;
            }
            if (j < bytes.size() && bytes[j] == '\n') {
                i = j - 1;
                continue;
            }
        }
        text += bytes[i];
    }
    long line = 1;
    std::size_t column = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t') {
            return tabMessage(line);
        }
        if (line > 26) {
            return k25Lines;
        }
        if (column == 0 &&
            (text.compare(i, 4, "QSO:") == 0 || text.compare(i, 10, "END-OF-LOG") == 0)) {
            return std::nullopt;
        }
        if (text[i] == '\n' || ++column == 222) {
            ++line;
            column = 0;
        }
    }
    return line > 26 ? k25Lines : kNoEnd;
}

TEST_F(HostileFiles, RandomBinaryFilesAreRefusedWithTheReadersMessage) {
    std::mt19937 random(20240501);
    std::uniform_int_distribution<int> byte(0, 255);
    int refusedForTabs = 0;
    for (int file = 0; file < 32; ++file) {
        const bool withoutTabs = file % 2 == 1;
        std::string bytes(static_cast<std::size_t>(1 + random() % 65536), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(byte(random));
            if (withoutTabs && c == '\t') {
                c = ' ';
            }
        }
        SCOPED_TRACE("file " + std::to_string(file) + " of " + std::to_string(bytes.size()) +
                     " bytes");
        const std::optional<std::string> expected = refusalOfRandomBytes(bytes);
        ASSERT_TRUE(expected.has_value());
        refusedForTabs += expected->rfind("Na řádku", 0) == 0 ? 1 : 0;

        OpenedEvaluation evaluation;
        EXPECT_EQ(evaluation.load(write("random.bin", bytes)), LoadOutcome::Refused);
        ASSERT_EQ(evaluation.dialogs().size(), 1u);
        EXPECT_EQ(evaluation.dialogs()[0].text, *expected);
        EXPECT_EQ(evaluation.dialogs()[0].kind, DialogKind::Error);
        EXPECT_EQ(evaluation.exitCodes(), std::vector<int>{0});
    }
    // The files with tabs left in are refused for them; the rest for their length.
    EXPECT_EQ(refusedForTabs, 16);
}

TEST(HostileBytes, RandomBytesInsideQsoLinesAreScoredAndWrittenBackByteForByte) {
    std::mt19937 random(7);
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) {
        std::string line = "QSO:";
        for (int k = 0; k < 76; ++k) {
            char c = static_cast<char>(random() % 256);
            // Tabs and line ends are the reader's business; a CR before the line end would vanish.
            line += c == '\t' || c == '\n' || c == '\r' ? 'x' : c;
        }
        lines.push_back(line);
    }
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(cabrilloLog(lines)), LoadOutcome::Loaded);
    const EvaluationState& state = *evaluation.state;
    ASSERT_EQ(state.qsoTable.qsoCount, 200);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(lineOf(state, i), rightTrimmed(lines[i].substr(0, lines[i].find('\0'))));
    }
    ASSERT_TRUE(evaluation.compute());
    EXPECT_EQ(state.totals.qsoTotal, 200);
    for (int i = 0; i < 200; ++i) {
        const QsoRecord& record = state.qsoTable.slots[i];
        EXPECT_LT(std::strlen(record.callText), sizeof record.callText);
        EXPECT_TRUE(std::strcmp(record.exchText, "NM") == 0 || record.memberNumber > 0);
    }
    const std::vector<std::string> printed = protocolQsoLines(evaluation.protocol());
    ASSERT_EQ(printed.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        const QsoRecord& record = state.qsoTable.slots[i];
        EXPECT_EQ(printed[i].size(), record.status == kStatusValid ? 99u : 96u);
        const std::string text = lineOf(state, i);
        const std::string shown = rightTrimmed(printed[i].substr(0, 80));
        EXPECT_EQ(text.compare(0, shown.size(), shown), 0) << "QSO " << i + 1;
    }
}

// ---------------------------------------------------------------------------------------------
// Sizes

TEST_F(HostileFiles, AFiveMegabyteLineAfterTheFirstQsoIsReadAsDroppedPieces) {
    const std::string log = "START-OF-LOG: 3.0\nCALLSIGN: OK1ZEB\n" + kFirst + "\n" +
                            std::string(5 << 20, 'X') + "\n" + kProbe + "\nEND-OF-LOG:\n";
    OpenedEvaluation evaluation;
    ASSERT_EQ(evaluation.load(write("long-line.cbr", log)), LoadOutcome::Loaded);
    EXPECT_TRUE(evaluation.dialogs().empty());
    const EvaluationState& state = *evaluation.state;
    ASSERT_EQ(state.qsoTable.qsoCount, 2);
    EXPECT_EQ(lineOf(state, 0), kFirst);
    EXPECT_EQ(lineOf(state, 1), kProbe);
    ASSERT_TRUE(computeCommand(*evaluation.state, evaluation.window, evaluation.platform));
    // Two members, two countries on two bands.
    EXPECT_EQ(state.totals.pointsTotal, 20);
    EXPECT_EQ(state.totals.result, 80);
}

TEST_F(HostileFiles, AFiveMegabyteLineOfQsoPiecesIsRefusedAfter2000) {
    std::string piece = kProbe;
    piece.resize(222, 'Y');
    std::string line;
    while (line.size() < (5u << 20)) {
        line += piece;
    }
    OpenedEvaluation evaluation;
    EXPECT_EQ(evaluation.load(write("long-qso-line.cbr", "CALLSIGN: OK1ZEB\n" + line + "\n")),
              LoadOutcome::Refused);
    ASSERT_EQ(evaluation.dialogs().size(), 1u);
    EXPECT_EQ(evaluation.dialogs()[0].text, kTooMany);
    EXPECT_EQ(evaluation.exitCodes(), std::vector<int>{0});
}

struct ManyLinesCase {
    const char* name;
    std::string head;
    std::string line;
    LoadOutcome outcome;
    std::string dialogs;
    int qsoCount;             // when loaded
    long long mostBytesRead;  // 0: the whole log is read
};

void PrintTo(const ManyLinesCase& c, std::ostream* os) {
    *os << c.name;
}

class TwoMillionLines : public testing::TestWithParam<ManyLinesCase> {};

TEST_P(TwoMillionLines, EndInTheReadersOutcome) {
    const ManyLinesCase& c = GetParam();
    constexpr long kCount = 2'000'000;
    long long delivered = 0;
    OpenedEvaluation evaluation([&](const std::string&) {
        return std::make_unique<RepeatedLines>(c.head, c.line, kCount, "END-OF-LOG:\n", delivered);
    });
    ASSERT_EQ(evaluation.load("many.cbr"), c.outcome);
    std::string dialogs;
    for (const RecordedDialog& dialog : evaluation.dialogs()) {
        dialogs += dialog.text + "|";
    }
    EXPECT_EQ(dialogs, c.dialogs);
    // The reading stops right after the ten characters of the end marker.
    const long long whole =
        static_cast<long long>(c.head.size() + (c.line.size() + 1) * kCount + 10);
    if (c.mostBytesRead == 0) {
        EXPECT_EQ(delivered, whole);
    } else {
        // A refused log is not read to its end.
        EXPECT_LE(delivered, c.mostBytesRead);
    }
    if (c.outcome == LoadOutcome::Loaded) {
        EXPECT_EQ(evaluation.state->qsoTable.qsoCount, c.qsoCount);
        ASSERT_TRUE(computeCommand(*evaluation.state, evaluation.window, evaluation.platform));
        EXPECT_EQ(evaluation.state->totals.qsoTotal, c.qsoCount);
    } else {
        EXPECT_EQ(evaluation.exitCodes(), std::vector<int>{0});
    }
}

const std::string kHead = "START-OF-LOG: 3.0\nCALLSIGN: OK1ZEB\n";

INSTANTIATE_TEST_SUITE_P(
    Logs, TwoMillionLines,
    testing::Values(ManyLinesCase{"soapbox_lines_after_one_qso", kHead + kFirst + "\n",
                                  "SOAPBOX: again", LoadOutcome::Loaded, "", 1, 0},
                    ManyLinesCase{
                        "qso_lines", kHead, kProbe, LoadOutcome::Refused, kTooMany + "|", 0,
                        static_cast<long long>(kHead.size() + (kProbe.size() + 1) * 2002)},
                    ManyLinesCase{"lines_before_any_qso", "", "X-NOTE: a", LoadOutcome::Refused,
                                  k25Lines + "|", 0, 27 * 10}),
    [](const testing::TestParamInfo<ManyLinesCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// Files that are not there

TEST_F(HostileFiles, AFolderGivenAsALogCannotBeOpened) {
    OpenedEvaluation evaluation;
    EXPECT_EQ(evaluation.load(folder.string()), LoadOutcome::CannotOpen);
    ASSERT_EQ(evaluation.dialogs().size(), 1u);
    EXPECT_EQ(evaluation.dialogs()[0].text, kCannotOpen);
    EXPECT_EQ(evaluation.dialogs()[0].buttons, DialogButtons::Abort);
    EXPECT_TRUE(evaluation.exitCodes().empty());
    EXPECT_EQ(evaluation.state->qsoTable.qsoCount, 0);
    EXPECT_EQ(evaluation.window.labelText(Label::povel), utf8ToCp1250("načtení se nezdařilo"));
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bvypocet));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(HostileFiles, ALogThatVanishesBetweenDialogAndOpenLeavesNothingOfTheLogBefore) {
    const std::string path = write("vanishing.cbr", probeLog(kProbe));
    OpenedEvaluation evaluation;
    ASSERT_EQ(evaluation.load(path), LoadOutcome::Loaded);
    ASSERT_TRUE(computeCommand(*evaluation.state, evaluation.window, evaluation.platform));

    prepareLoad(*evaluation.state, evaluation.window);  // the open dialog is up now
    ASSERT_TRUE(fs::remove(path));
    EXPECT_EQ(loadLog(*evaluation.state, evaluation.window, evaluation.platform, path, true),
              LoadOutcome::CannotOpen);
    EXPECT_EQ(evaluation.dialogs().back().text, kCannotOpen);
    const EvaluationState& state = *evaluation.state;
    EXPECT_EQ(state.qsoTable.qsoCount, 0);
    EXPECT_STREQ(state.qsoTable.slots[0].line, "");
    EXPECT_STREQ(state.qsoTable.slots[1].line, "");
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bvypocet));
    EXPECT_FALSE(evaluation.window.isEnabled(Control::bukladani));
    EXPECT_EQ(evaluation.window.labelText(Label::celkem), "");
    EXPECT_EQ(evaluation.window.caption(), "vanishing.cbr");
}

// ---------------------------------------------------------------------------------------------
// Columns at the limits

const std::string kA = qsoLine("3520", "OK1ABC", "123");
const std::string kB = qsoLine("14020", "DL1XYZ", "NM");
const std::string kC = qsoLine("3790", "W1AW", "0042");

struct ColumnFileCase {
    const char* file;
    ColumnConfig columns;  // after the start edits have read the start columns back
    bool fieldsFound;      // false: every call and exchange window is empty
};

void PrintTo(const ColumnFileCase& c, std::ostream* os) {
    *os << c.file;
}

class ExtremeColumnFiles : public testing::TestWithParam<ColumnFileCase> {};

TEST_P(ExtremeColumnFiles, AreTakenAndComputeToTheSpecifiedScore) {
    const ColumnFileCase& c = GetParam();
    OpenedEvaluation evaluation([](const std::string& path) {
        return path == "log.cbr" ? std::make_unique<MemoryTextInput>(cabrilloLog({kA, kB, kC}))
                                 : openTextFileForReading(path);
    });
    ASSERT_EQ(evaluation.load("log.cbr"), LoadOutcome::Loaded);
    ASSERT_TRUE(loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform,
                                 fixture(c.file)));
    const EvaluationState& state = *evaluation.state;
    EXPECT_EQ(state.columns, c.columns);

    evaluation.platform.recorder.dialogs.clear();
    ASSERT_TRUE(computeCommand(*evaluation.state, evaluation.window, evaluation.platform));
    const std::vector<std::string> lines = protocolQsoLines(writeProtocol(*evaluation.state));
    ASSERT_EQ(lines.size(), 3u);
    const EvaluationTotals& totals = state.totals;
    if (!c.fieldsFound) {
        EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "");
        EXPECT_EQ(evaluation.window.editText(Edit::ivzor), "");
        // Every call is empty and unknown; on 80 m the second empty call is a duplicate.
        ASSERT_EQ(evaluation.dialogs().size(), 3u);
        EXPECT_EQ(evaluation.dialogs()[2].text, unknownPrefix("", 3));
        EXPECT_EQ(totals.errorTotal, 1);
        EXPECT_EQ(totals.pointsTotal, 2);
        EXPECT_EQ(totals.result, 0);
        EXPECT_EQ(lines[0], validLine(kA, "", 1, 0, 0));
        EXPECT_EQ(lines[1], validLine(kB, "", 1, 0, 0));
        EXPECT_EQ(lines[2], verdictLine(kC, "   === dubl ==="));
    } else {
        EXPECT_TRUE(evaluation.dialogs().empty()) << evaluation.dialogs()[0].text;
        EXPECT_STREQ(state.qsoTable.slots[0].callText, "OK1ABC");
        EXPECT_STREQ(state.qsoTable.slots[2].exchText, "0042");
        EXPECT_EQ(totals.errorTotal, 0);
        EXPECT_EQ(totals.pointsTotal, 21);
        EXPECT_EQ(totals.clubMultTotal, 2);
        EXPECT_EQ(totals.dxccMultTotal, 3);
        EXPECT_EQ(totals.result, 105);
        EXPECT_EQ(lines[1], validLine(kB, state.qsoTable.slots[1].country, 1, 0, 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ExtremeColumnFiles,
    testing::Values(
        // The start edits read back the first nine characters of "-2147483648".
        ColumnFileCase{"int-extremes.ini", {-21474836, INT_MAX, -21474836, INT_MAX}, false},
        ColumnFileCase{"int-max-starts.ini", {214748364, 10, 214748364, 10}, false},
        ColumnFileCase{"negative-widths.ini", {55, -5, 73, -1}, false},
        ColumnFileCase{"zero-widths.ini", {55, 0, 73, 0}, false},
        ColumnFileCase{"huge-widths.ini", {55, INT_MAX, 73, INT_MAX}, true},
        ColumnFileCase{"beyond-int-range.ini", {55, INT_MAX, 73, INT_MAX}, true}),
    [](const testing::TestParamInfo<ColumnFileCase>& info) {
        std::string name = info.param.file;
        for (char& ch : name) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        }
        return name;
    });

struct RawColumnsCase {
    const char* name;
    ColumnConfig columns;
    std::string callPattern;  // what the call pattern edit shows for the first line
    std::string call;         // the call of every QSO
    std::string printed;      // the text of every protocol line before its padding
};

void PrintTo(const RawColumnsCase& c, std::ostream* os) {
    *os << c.name;
}

class RawExtremeColumns : public testing::TestWithParam<RawColumnsCase> {};

// Columns that no start edit can hold, set directly, reach the computation and the protocol.
TEST_P(RawExtremeColumns, ComputeAndPrintWithoutReachingOutsideTheLines) {
    const RawColumnsCase& c = GetParam();
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(cabrilloLog({kA, kB, kC})), LoadOutcome::Loaded);
    evaluation.state->columns = c.columns;
    setcall(*evaluation.state, evaluation.window);
    setzeb(*evaluation.state, evaluation.window);
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), c.callPattern);
    evaluation.platform.dialogs.clear();
    ASSERT_TRUE(evaluation.compute());
    const EvaluationState& state = *evaluation.state;
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(state.qsoTable.slots[i].callText, c.call.c_str());
        EXPECT_STREQ(state.qsoTable.slots[i].exchText, "NM");
    }
    EXPECT_EQ(evaluation.platform.dialogs.size(), 3u) << evaluation.dialogTexts();
    EXPECT_EQ(state.totals.errorTotal, 1);
    EXPECT_EQ(state.totals.result, 0);
    const std::vector<std::string> lines = protocolQsoLines(evaluation.protocol());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], validLine(c.printed.empty() ? kA : c.printed, "", 1, 0, 0));
    EXPECT_EQ(lines[2], verdictLine(c.printed.empty() ? kC : c.printed, "   === dubl ==="));
}

INSTANTIATE_TEST_SUITE_P(
    Columns, RawExtremeColumns,
    testing::Values(
        RawColumnsCase{"int_min_starts", {INT_MIN, INT_MAX, INT_MIN, INT_MAX}, "", "", ""},
        RawColumnsCase{"int_max_everywhere", {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, "", "", ""},
        // An exchange column of 0 or -1 puts the space after "QSO:" among the ten columns in
        // which the protocol cuts a line.
        RawColumnsCase{"int_min_widths", {0, INT_MIN, 0, INT_MIN}, "", "", "QSO:"},
        RawColumnsCase{"minus_one_starts", {-1, 10, -1, 10}, "", "", "QSO:"},
        // The whole line as window: every call is "QSO:".
        RawColumnsCase{"whole_line_from_column_0", {0, INT_MAX, 0, INT_MAX}, kA, "QSO:", "QSO:"}),
    [](const testing::TestParamInfo<RawColumnsCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// Words wider than their fields

TEST(HostileWidths, ACallsignOf200CharactersIsCutTo17AndTheHeaderLineTo148) {
    const std::string call = "OK1ZEB" + std::string(194, 'Q');
    const std::string header = "START-OF-LOG: 3.0\nCALLSIGN: " + call + "\n";
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(header + kFirst + "\n" + kProbe + "\nEND-OF-LOG:\n"),
              LoadOutcome::Loaded);
    const EvaluationState& state = *evaluation.state;
    const std::string kept = ("CALLSIGN: " + call).substr(0, 148) + "\n";
    EXPECT_EQ(std::string(state.headerLines.entries[1]), kept);
    EXPECT_EQ(std::string(state.ownCall), call.substr(0, 17));
    // The shortened own call is in no QSO line: the fallback columns, with their warning.
    EXPECT_EQ(evaluation.dialogTexts(), kAutoConfigFailed + "|");
    EXPECT_EQ(state.columns, kFallbackColumns);
    EXPECT_EQ(state.autoConfigRow, 0);
    ASSERT_TRUE(evaluation.compute());
    EXPECT_EQ(state.totals.result, 80);
    const std::string protocol = evaluation.protocol();
    EXPECT_NE(protocol.find("=\nSTART-OF-LOG: 3.0\n" + kept + "  "), std::string::npos);
}

TEST(HostileWidths, AHeaderLineOf1000CharactersBecomesFiveEntriesThatStayWithinTheirBounds) {
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(std::string(1000, 'H') + "\n" + cabrilloLog({kFirst})),
              LoadOutcome::Loaded);
    const HeaderLines& header = evaluation.state->headerLines;
    ASSERT_EQ(header.headerLineCount, 8);
    for (int h = 0; h < 4; ++h) {
        EXPECT_EQ(std::string(header.entries[h]), std::string(148, 'H')) << "entry " << h;
    }
    EXPECT_EQ(std::string(header.entries[4]), std::string(1000 - 4 * 222, 'H') + "\n");
    EXPECT_EQ(std::string(header.entries[6]), "CALLSIGN: OK1ZEB\n");
    EXPECT_STREQ(evaluation.state->ownCall, "OK1ZEB");
    EXPECT_EQ(evaluation.state->columns.callStart, 55);
}

TEST(HostileWidths, CallsAndExchangesFarWiderThanTheirFieldsAreCutToTheirCapacity) {
    const std::string call = "OK1" + std::string(42, 'W');
    const std::string exchange = "123456789012345678901";
    const std::string line = "QSO:  3520 " + call + " " + exchange;
    ASSERT_EQ(line.size(), 78u);
    OpenedEvaluation evaluation([&](const std::string& path) {
        return path == "log.cbr" ? std::make_unique<MemoryTextInput>(cabrilloLog({line}))
                                 : openTextFileForReading(path);
    });
    ASSERT_EQ(evaluation.load("log.cbr"), LoadOutcome::Loaded);
    // The own call is in no QSO line; the evaluator loads columns that fit this log.
    ASSERT_TRUE(loadColumnConfig(*evaluation.state, evaluation.window, evaluation.platform,
                                 fixture("wide-fields.ini")));
    const EvaluationState& state = *evaluation.state;
    ASSERT_EQ(state.columns, (ColumnConfig{11, 60, 57, 60}));
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), line.substr(11, 60));
    EXPECT_EQ(evaluation.window.editText(Edit::ivzor), exchange);

    ASSERT_TRUE(computeCommand(*evaluation.state, evaluation.window, evaluation.platform));
    const QsoRecord& record = state.qsoTable.slots[0];
    EXPECT_EQ(std::string(record.callText), call.substr(0, kCallChars));
    EXPECT_EQ(std::string(record.exchText), exchange.substr(0, kExchChars));
    // Twelve figures are beyond a 32-bit number; the value stops at the largest one.
    EXPECT_EQ(record.memberNumber, INT_MAX);
    EXPECT_EQ(state.totals.result, 20);
    const std::vector<std::string> lines = protocolQsoLines(writeProtocol(*evaluation.state));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], validLine(line, record.country, 10, 1, 1));
}

// ---------------------------------------------------------------------------------------------
// Column finding past the kept text

// The fuzzer's first finding (no fault): the stepping of the column finding reads on past column
// 80 into the raw characters that a long line leaves in the buffer, and the received exchange can
// be placed beyond column 88. Such columns reach only empty text.
TEST(HostileColumns, AnOwnCallLateInALongLineGivesColumnsBeyondTheTextThatReadAsEmpty) {
    std::string line = "QSO:  3520 PH 2024-05-01 1200 " + std::string(40, 'x') + "OK1ZEB 59 " +
                       "001    W1AW          59  123";
    line.resize(222, ' ');
    ASSERT_EQ(line.compare(70, 6, "OK1ZEB"), 0);
    Evaluation evaluation;
    ASSERT_EQ(evaluation.load(cabrilloLog({line})), LoadOutcome::Loaded);
    const EvaluationState& state = *evaluation.state;
    EXPECT_EQ(lineOf(state, 0), line.substr(0, 79));
    // Past the own call and "59", the cut line end and the raw "001" to the space at 83; two on,
    // over the spaces to W1AW at 87; past W1AW to the space at 91, which is not a line end.
    EXPECT_EQ(state.columns, (ColumnConfig{87, 10, 91, 10}));
    EXPECT_EQ(evaluation.dialogTexts(), "Nalezen řádek delší, než 80 znaků,zkrácen|");
    EXPECT_EQ(evaluation.window.editText(Edit::cvzor), "");
    EXPECT_EQ(evaluation.window.editText(Edit::ivzor), "");
    ASSERT_TRUE(evaluation.compute());
    EXPECT_STREQ(state.qsoTable.slots[0].callText, "");
    EXPECT_STREQ(state.qsoTable.slots[0].exchText, "NM");
    const std::vector<std::string> lines = protocolQsoLines(evaluation.protocol());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], validLine(line.substr(0, 79), "", 1, 0, 0));
}

}  // namespace
}  // namespace zeb::test
