// Drives zebcontest.exe's contest window from outside, as an evaluator would, with window messages
// only: it finds the window by its class and its controls by their ids, reads the table's rows from
// the list view itself (LVM_GETITEMTEXTW into a buffer in the program's own memory: a list view
// answers only into memory of its process) and the details from their rich edit, and answers the
// closing question with its own buttons. What it checks is what zebscore.exe writes: the table
// shows results.csv's rows, and "Uložit výsledky" writes the same folder, byte for byte.
//
// Usage, from a folder holding the folder "Soutěž ZEB" of the contest's logs (and a file that is no
// log) and zebscore.exe's results of it in "zebscore\results.csv":
//   contest_driver ZEBCONTEST_EXE ZEBSCORE_EXE [ROUNDS]
// It runs in Czech (LANGUAGE=cs): the window's words are checked as a Czech evaluator reads them.

#include "platform/windows_text.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "contest/publish/contest_table.h"
#include "contest/publish/results_table.h"
#include "driver_support.h"
#include "form/form_description.h"
#include "win32/contest_ids.h"
#include "win32/control_ids.h"

namespace {

using namespace zeb::test;
namespace fs = std::filesystem;
namespace ids = zeb::win32;

const std::wstring kLogs = L"Soutěž ZEB";

// A program started with its arguments, ended when it goes.
class Process {
  public:
    // `quiet`: what it prints goes nowhere.
    explicit Process(const std::wstring& line, bool quiet = false) {
        std::wstring writable = line;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        const HANDLE nowhere = quiet ? CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                                   OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE;
        if (nowhere != INVALID_HANDLE_VALUE) {
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = nowhere;
            startup.hStdOutput = nowhere;
            startup.hStdError = nowhere;
        }
        const BOOL started =
            CreateProcessW(nullptr, writable.data(), nullptr, nullptr,
                           nowhere != INVALID_HANDLE_VALUE, 0, nullptr, nullptr, &startup, &info_);
        if (nowhere != INVALID_HANDLE_VALUE) {
            CloseHandle(nowhere);
        }
        if (!started) {
            throw Stop("cannot start " + narrow(line));
        }
    }
    ~Process() {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 10000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    HANDLE handle() const { return info_.hProcess; }
    DWORD id() const { return info_.dwProcessId; }
    bool running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

    DWORD waitForExit(double seconds) const {
        if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(seconds * 1000)) !=
            WAIT_OBJECT_0) {
            throw Stop("the program did not end");
        }
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION info_{};
};

// Memory in the program's process that its list view writes into and the driver reads.
class Remote {
    static constexpr int kSize = 65536;
    static constexpr int kTextAt = 4096;

  public:
    explicit Remote(HANDLE process) : process_(process) {
        at_ = static_cast<char*>(
            VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (at_ == nullptr) {
            throw Stop("no memory in zebcontest.exe's process");
        }
    }
    ~Remote() { VirtualFreeEx(process_, at_, 0, MEM_RELEASE); }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;

    // The item at the start, its text after it.
    LVITEMW* item() const { return reinterpret_cast<LVITEMW*>(at_); }
    wchar_t* text() const { return reinterpret_cast<wchar_t*>(at_ + kTextAt); }
    static constexpr int kTextChars = (kSize - kTextAt) / static_cast<int>(sizeof(wchar_t));

    void write(const LVITEMW& item) const {
        if (!WriteProcessMemory(process_, at_, &item, sizeof item, nullptr)) {
            throw Stop("cannot write into zebcontest.exe's process");
        }
    }
    std::wstring readText(std::size_t length) const {
        std::wstring text(std::min<std::size_t>(length, kTextChars), L'\0');
        if (!text.empty() && !ReadProcessMemory(process_, at_ + kTextAt, text.data(),
                                                text.size() * sizeof(wchar_t), nullptr)) {
            throw Stop("cannot read zebcontest.exe's process");
        }
        return text;
    }

  private:
    HANDLE process_;
    char* at_;
};

// zebcontest.exe with its contest window.
class ContestProgram {
  public:
    ContestProgram(const std::wstring& exe, const std::vector<std::wstring>& arguments)
        : process_(commandLine(exe, arguments)), remote_(process_.handle()) {
        window_ = waitFor("the contest window",
                          [&] { return topWindow(process_.id(), ids::kContestWindowClass); });
    }

    const Process& process() const { return process_; }
    HWND window() const { return window_; }
    HWND control(int id) const {
        const HWND found = GetDlgItem(window_, id);
        if (found == nullptr && !process_.running()) {
            throw Stop("zebcontest.exe has ended");
        }
        if (found == nullptr) {
            throw Stop("no control " + std::to_string(id) + " in the contest window");
        }
        return found;
    }
    std::wstring text(int id) const { return textOf(control(id)); }
    bool enabled(int id) const { return IsWindowEnabled(control(id)) != 0; }
    void click(int id) const {
        check(enabled(id), "control " + std::to_string(id) + " is enabled before it is clicked");
        PostMessageW(control(id), BM_CLICK, 0, 0);
    }
    // The form of the same process, shown or not.
    HWND form() const {
        HWND found = nullptr;
        for (HWND window = FindWindowExW(nullptr, nullptr, zeb::win32::kFormClass, nullptr);
             window != nullptr;
             window = FindWindowExW(nullptr, window, zeb::win32::kFormClass, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            found = owner == process_.id() ? window : found;
        }
        return found;
    }

    int rowCount() const {
        DWORD_PTR count = 0;
        SendMessageTimeoutW(control(ids::kTable), LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000,
                            &count);
        return static_cast<int>(count);
    }
    std::wstring cell(int row, zeb::contest::ViewColumn column) const {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iSubItem = static_cast<int>(column);
        item.pszText = remote_.text();
        item.cchTextMax = Remote::kTextChars;
        remote_.write(item);
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(control(ids::kTable), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                 reinterpret_cast<LPARAM>(remote_.item()), SMTO_NORMAL, 10000,
                                 &length)) {
            throw Stop("the table does not answer");
        }
        return remote_.readText(length);
    }
    // The row whose log has the file name; -1 when none.
    int rowOf(const std::wstring& file) const {
        for (int row = 0; row < rowCount(); ++row) {
            if (cell(row, zeb::contest::ViewColumn::File) == file) {
                return row;
            }
        }
        return -1;
    }
    void select(int row) const {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        remote_.write(item);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(control(ids::kTable), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                            reinterpret_cast<LPARAM>(remote_.item()), SMTO_NORMAL, 10000, &result);
    }

    // Waits until the status line says what `wanted` finds in it.
    void expectStatus(const std::string& what, const std::wstring& wanted,
                      double seconds = 60) const {
        try {
            waitFor(
                what, [&] { return text(ids::kStatusText).find(wanted) != std::wstring::npos; },
                seconds);
        } catch (const Stop&) {
            check(false,
                  what + ": the status line says \"" + narrow(text(ids::kStatusText)) + "\"");
            throw;
        }
    }

    using Box = MessageBoxSeen;
    Box box(const std::wstring& title) const { return messageBoxOf(process_.id(), title); }
    void answer(const Box& box, int button) const { zeb::test::answer(box, button); }

  private:
    static std::wstring commandLine(const std::wstring& exe,
                                    const std::vector<std::wstring>& arguments) {
        std::wstring line = L"\"" + exe + L"\"";
        for (const std::wstring& argument : arguments) {
            line += L" \"" + argument + L"\"";
        }
        return line;
    }

    Process process_;
    Remote remote_;
    HWND window_ = nullptr;
};

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

// results.csv as rows of named fields.
std::vector<std::map<std::string, std::string>> csvRows(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    const std::vector<std::string> names = csvFields(line);
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(lines, line)) {
        if (line.empty() || line == "\r") {
            continue;
        }
        const std::vector<std::string> fields = csvFields(line);
        std::map<std::string, std::string> row;
        for (std::size_t f = 0; f < names.size() && f < fields.size(); ++f) {
            row[names[f]] = fields[f];
        }
        rows.push_back(row);
    }
    return rows;
}

// The flags as the table shows them in Czech: their phrases.
std::wstring phrasesOf(const std::string& codes) {
    std::string phrases;
    std::istringstream words(codes);
    for (std::string code; words >> code;) {
        phrases += (phrases.empty() ? "" : ", ") +
                   std::string(zeb::contest::flagPhrase(code, zeb::Language::Czech));
    }
    return widen(phrases);
}

// Every file under the folder, by its path inside it.
std::map<std::wstring, std::string> filesUnder(const fs::path& folder) {
    std::map<std::wstring, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).wstring()] = fileBytes(entry.path().wstring());
        }
    }
    return files;
}

void checkTableIsZebscores(const ContestProgram& program) {
    using zeb::contest::ViewColumn;
    const auto expected = csvRows(fileBytes(L"zebscore\\results.csv"));
    check(!expected.empty(), "zebscore.exe's results.csv has rows");
    for (const auto& row : expected) {
        const std::wstring file = widen(row.at("log"));
        const int at = program.rowOf(file);
        check(at >= 0, "a row of the table for " + row.at("log"));
        if (at < 0) {
            continue;
        }
        // A log ranked apart has no rank in the CSV: "mimo" in the Czech table.
        checkEqual(program.cell(at, ViewColumn::Rank),
                   row.at("rank").empty() ? L"mimo" : widen(row.at("rank")),
                   narrow(file) + " rank");
        checkEqual(program.cell(at, ViewColumn::Call), widen(row.at("call")),
                   narrow(file) + " call");
        checkEqual(program.cell(at, ViewColumn::Qsos), widen(row.at("qsos")),
                   narrow(file) + " QSOs");
        checkEqual(program.cell(at, ViewColumn::Result), widen(row.at("result")),
                   narrow(file) + " result before the check");
        checkEqual(program.cell(at, ViewColumn::CheckedResult), widen(row.at("checked_result")),
                   narrow(file) + " result after the check");
        checkEqual(program.cell(at, ViewColumn::Flags), phrasesOf(row.at("flags")),
                   narrow(file) + " flags");
    }
}

// zebscore.exe --contest into the window's output folder, its reports removed first and the
// repaired copies and the evaluator's decisions kept, as the window took them in.
void runZebscore(const std::wstring& zebscore, const fs::path& out, int timeWindow) {
    for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
        if (entry.path().filename() != "fixed" && entry.path().filename() != "decisions.txt") {
            fs::remove_all(entry.path());
        }
    }
    const Process run(L"\"" + zebscore + L"\" --time-window " + std::to_wstring(timeWindow) +
                          L" --contest \"" + out.wstring() + L"\" --config-beside \"" +
                          fullPath(kLogs) + L"\"",
                      true);
    run.waitForExit(120);
}

void runRound(const std::wstring& exe, const std::wstring& zebscore) {
    const fs::path logs = fullPath(kLogs);
    const fs::path out = logs / L"vyhodnoceni";
    fs::remove_all(out);

    {
        step("zebcontest.exe started with the folder of the contest");
        const ContestProgram program(exe, {logs.wstring()});
        checkEqual(textOf(program.window()), L"ZEB contest – vyhodnocení soutěže",
                   "the window's caption");
        program.expectStatus("the logs to be read and checked", L"Deníků načteno");
        const HWND form = program.form();
        check(form != nullptr && !IsWindowVisible(form), "the form is not shown");
        check(program.rowCount() == 8, "8 rows: 7 logs and the file that is no log, not " +
                                           std::to_string(program.rowCount()));
        checkTableIsZebscores(program);
        const int notes = program.rowOf(L"poznámky.txt");
        check(notes >= 0 && program.cell(notes, zeb::contest::ViewColumn::Outcome) == L"není deník",
              "the file that is no log is a row of its own, \"není deník\"");
        checkEqual(program.text(ids::kOutputFolderText), out.wstring(), "the output folder");

        step("the only logs to look at");
        PostMessageW(program.control(ids::kOnlyToLookAtCheck), BM_CLICK, 0, 0);
        waitFor("the filter", [&] { return program.rowCount() == 2; });
        check(program.cell(0, zeb::contest::ViewColumn::Flags) != L"" &&
                  program.cell(1, zeb::contest::ViewColumn::Flags) != L"",
              "the rows kept are flagged or no logs");
        PostMessageW(program.control(ids::kOnlyToLookAtCheck), BM_CLICK, 0, 0);
        waitFor("the filter taken off", [&] { return program.rowCount() == 8; });

        step("a log's details");
        const int ol3ccc = program.rowOf(L"ol3ccc.cbr");
        program.select(ol3ccc);
        waitFor("the details of OL3CCC",
                [&] { return program.text(ids::kDetailsText).find(L"OL3CCC – ol3ccc.cbr") == 0; });
        check(program.text(ids::kQsoLinesText).find(L"QSO:  7050") != std::wstring::npos,
              "the QSO lines of OL3CCC are shown");
        const int ok2bbb = program.rowOf(L"ok2bbb.cbr");
        const std::wstring checkedBefore =
            program.cell(ok2bbb, zeb::contest::ViewColumn::CheckedResult);

        step("the log opened in the form");
        program.click(ids::kOpenInFormButton);
        waitFor("the form", [&] { return IsWindowVisible(form) != 0; });
        try {
            waitFor("the form's caption", [&] { return textOf(form) == L"ol3ccc.cbr"; });
        } catch (const Stop&) {
            checkEqual(textOf(form), L"ol3ccc.cbr", "the form's caption");
        }
        const HWND povel = childById(form, zeb::win32::controlId("povel"));
        waitFor("the form to read the copy", [&] { return textOf(povel) == L"deník načten"; });
        // The copy is what the form read: "Ulož konfiguraci" saves the columns beside it, where
        // the contest takes them from.
        PostMessageW(childById(form, zeb::win32::controlId("Button2")), BM_CLICK, 0, 0);
        const HWND dialog = waitFor("the dialog Ulož konfiguraci", [&] {
            return topWindow(program.process().id(), L"#32770", L"Ulož konfiguraci");
        });
        const HWND name = waitFor("the file name box", [&] { return fileNameBox(dialog); });
        try {
            waitFor("the dialog to offer ol3ccc.ini",
                    [&] { return textOf(name) == L"ol3ccc.ini"; });
        } catch (const Stop&) {
            check(false,
                  "Ulož konfiguraci offers ol3ccc.ini, not \"" + narrow(textOf(name)) + "\"");
        }
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(childById(dialog, IDOK)));
        const fs::path beside = out / L"fixed" / L"ol3ccc.ini";
        try {
            waitFor("the configuration beside the copy", [&] { return fs::exists(beside); });
        } catch (const Stop&) {
            check(false, "Ulož konfiguraci saved " + narrow(beside.wstring()));
        }

        // The evaluator adds the QSO that OK2BBB logged and OL3CCC forgot to the repaired copy.
        const fs::path copy = out / L"fixed" / L"ol3ccc.cbr";
        std::string text = fileBytes(copy.wstring());
        text.insert(text.find("QSO:  7050"),
                    "QSO:  7030 CW 2024-03-02 0730 OL3CCC        599 NM     OK2BBB        599 "
                    "22\r\n");
        std::ofstream(copy, std::ios::binary) << text;

        step("Konec in the form: back in the contest window");
        PostMessageW(childById(form, zeb::win32::controlId("Button1")), BM_CLICK, 0, 0);
        waitFor("the form to close", [&] { return !IsWindowVisible(form); });
        program.expectStatus("the changed copy to be taken back", L"OL3CCC");
        check(program.process().running(), "Konec beside the contest window ends nothing");
        check(program.rowCount() == 8, "the table is still there");
        check(program.cell(ok2bbb, zeb::contest::ViewColumn::CheckedResult) != checkedBefore,
              "the partner's checked result follows the corrected copy");

        step("a log set aside, with a reason");
        const int dl5eee = program.rowOf(L"dl5eee.cbr");
        program.select(dl5eee);
        waitFor("the details of DL5EEE",
                [&] { return program.text(ids::kDetailsText).find(L"DL5EEE – dl5eee.cbr") == 0; });
        program.click(ids::kSetAsideButton);
        const ContestProgram::Box reason = program.box(L"Odložit deník");
        check(reason.text.find(L"DL5EEE (dl5eee.cbr)") != std::wstring::npos,
              "the question names the log: " + narrow(reason.text));
        check(reason.buttons == std::vector<std::wstring>{L"Rozhodnout", L"Zrušit"},
              "the question has Rozhodnout and Zrušit");
        DWORD_PTR typed = 0;
        SendMessageTimeoutW(childById(reason.window, 0x100), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(L"přišel po termínu"), SMTO_NORMAL, 10000,
                            &typed);
        program.answer(reason, IDOK);
        program.expectStatus("the decision to be written", L"odložit");
        waitFor("DL5EEE set aside", [&] {
            return program.cell(program.rowOf(L"dl5eee.cbr"), zeb::contest::ViewColumn::Outcome) ==
                   L"odložen";
        });
        check(
            fileBytes((out / L"decisions.txt").wstring()).find("dl5eee.cbr | přišel po termínu") !=
                std::string::npos,
            "decisions.txt holds the decision with its reason");

        step("closing with the results not saved asks");
        PostMessageW(program.window(), WM_CLOSE, 0, 0);
        const ContestProgram::Box question = program.box(L"Zavřít vyhodnocení");
        check(question.text.find(out.wstring()) != std::wstring::npos,
              "the question names the output folder: " + narrow(question.text));
        check(question.buttons ==
                  std::vector<std::wstring>{L"Uložit", L"Zavřít bez uložení", L"Zrušit"},
              "the question has Uložit, Zavřít bez uložení and Zrušit");
        program.answer(question, IDCANCEL);
        check(IsWindowVisible(program.window()) && program.process().running(),
              "Zrušit keeps the window");

        step("a narrower time window, checked again once it stops changing");
        for (const wchar_t* minutes : {L"3", L"1"}) {
            DWORD_PTR set = 0;
            SendMessageTimeoutW(program.control(ids::kTimeWindowEdit), WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(minutes), SMTO_NORMAL, 10000, &set);
        }
        program.expectStatus("the cross-check with the narrower window",
                             L"Křížová kontrola s časovým oknem 1 min");

        step("Uložit výsledky");
        program.click(ids::kSaveResultsButton);
        program.expectStatus("the results to be saved", L"Výsledky uloženy");
        check(program.enabled(ids::kOpenResultsButton), "Otevřít výsledky is enabled");
        const std::map<std::wstring, std::string> saved = filesUnder(out);

        step("closed once saved, without a question: the program ends");
        PostMessageW(program.window(), WM_CLOSE, 0, 0);
        check(program.process().waitForExit(30) == 0, "the program ends with exit code 0");

        step("zebscore.exe over the same logs and copies");
        runZebscore(zebscore, out, 1);
        const std::map<std::wstring, std::string> written = filesUnder(out);
        check(saved.size() == written.size(),
              "as many files as zebscore.exe writes: " + std::to_string(saved.size()) + " and " +
                  std::to_string(written.size()));
        for (const auto& [name, bytes] : written) {
            const auto found = saved.find(name);
            check(found != saved.end() && found->second == bytes,
                  narrow(name) + " is zebscore.exe's, byte for byte");
        }
        const auto protocol = written.find(L"protocols\\ol3ccc.prn");
        check(protocol != written.end() && protocol->second.find("\r\n") != std::string::npos,
              "the protocols have CR LF");
    }

    {
        step("zebcontest.exe started with two logs");
        const ContestProgram program(
            exe, {(logs / L"ok1aaa.cbr").wstring(), (logs / L"ok2bbb.cbr").wstring()});
        program.expectStatus("the two logs to be read", L"Deníků načteno");
        check(program.rowCount() == 2, "two rows");
        PostMessageW(program.window(), WM_CLOSE, 0, 0);
        program.answer(program.box(L"Zavřít vyhodnocení"), IDNO);
        check(program.process().waitForExit(30) == 0,
              "Zavřít bez uložení ends the program with exit code 0");
        const HWND form = program.form();
        check(form == nullptr || !IsWindowVisible(form), "the form was never shown");
    }
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: contest_driver ZEBCONTEST_EXE ZEBSCORE_EXE [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::stoi(argv[3]) : 1;
    for (int round = 1; round <= rounds; ++round) {
        roundStart = std::chrono::steady_clock::now();
        const int before = failures;
        const int checksBefore = checks;
        try {
            runRound(argv[1], argv[2]);
        } catch (const Stop& stop) {
            check(false, stop.what());
        } catch (const std::exception& error) {
            check(false, error.what());
        }
        const auto took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - roundStart);
        std::printf("contest round %d: %s, %d checks, in %.1f s\n", round,
                    failures == before ? "passed" : "FAILED", checks - checksBefore, took.count());
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
