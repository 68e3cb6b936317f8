// Drives zebcontest.exe from outside, as an evaluator would, with window messages only: it finds
// the form by its window class, its controls by their ids, the message boxes and file dialogs by
// their class and caption, and answers them with their own buttons. Every wait polls with a
// deadline.
//
// Usage, from a folder holding party-crlf.cbr, party-lf.cbr and the protocols that zebscore.exe
// wrote for party-crlf.cbr with the columns found (auto.prn) and with the exchange from column 74
// (corrected.prn): form_driver ZEBCONTEST_EXE [ROUNDS]

#include "platform/windows_text.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "form/form_description.h"
#include "platform/cp1250.h"
#include "win32/control_ids.h"

#include "driver_support.h"

namespace {

using namespace zeb::test;

// The totals lines of a protocol, as the form's labels show them.
std::map<std::string, std::wstring> labelsOf(const std::string& protocol) {
    std::map<std::string, std::string> counters;
    std::istringstream lines(zeb::cp1250ToUtf8(protocol));
    for (std::string line; std::getline(lines, line) && line.find("=====") != 0;) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::size_t equals = line.rfind('=');
        counters[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return {
        {"qsos", widen("QSOs =" + counters["počet QSO"])},
        {"dubly", widen("dublů =" + counters["počet dublů"])},
        {"body", widen("bodů = " + counters["počet bodů"])},
        {"zeby", widen("ZEBů = " + counters["počet zebů=počet násobičů ZEB"])},
        {"dxcc", widen("DXCC = " + counters["počet zemí DXCC=počet násobičů DXCC"])},
        {"celkem", widen("výsledek = " + counters["výsledek"])},
        {"povel", counters.count("Stejné ZEB pro různá call") != 0
                      ? widen("Nalezeny různé call u stejného ZEB")
                      : widen("deník načten")},
    };
}

// zebcontest.exe, started as the Explorer starts it.
class Program {
  public:
    Program(const std::wstring& exe, const std::wstring& argument) {
        std::wstring line = L"\"" + exe + L"\"";
        if (!argument.empty()) {
            line += L" \"" + argument + L"\"";
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info_)) {
            throw Stop("cannot start " + narrow(exe));
        }
        form_ = waitFor("the form",
                        [&] { return topWindow(info_.dwProcessId, zeb::win32::kFormClass); });
    }
    ~Program() {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 10000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND form() const { return form_; }
    DWORD thread() const { return info_.dwThreadId; }

    HWND control(std::string_view name) const {
        const HWND found = childById(form_, zeb::win32::controlId(name));
        if (found == nullptr) {
            throw Stop("no control " + std::string(name));
        }
        return found;
    }
    std::wstring text(std::string_view name) const { return textOf(control(name)); }
    bool enabled(std::string_view name) const { return IsWindowEnabled(control(name)) != 0; }
    bool visible(std::string_view name) const { return IsWindowVisible(control(name)) != 0; }

    // Sets an edit's text as typing it would; it returns once the form has taken it.
    void type(std::string_view name, const std::wstring& text) const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_NORMAL, 30000, &result);
    }
    // As `type`, for a text whose handler brings up a message box: the sender waits aside until
    // the box is answered.
    class Aside {
      public:
        explicit Aside(std::thread sender) : sender_(std::move(sender)) {}
        ~Aside() { sender_.join(); }
        Aside(const Aside&) = delete;
        Aside& operator=(const Aside&) = delete;

      private:
        std::thread sender_;
    };
    std::unique_ptr<Aside> typeAside(std::string_view name, const std::wstring& text) const {
        return std::make_unique<Aside>(std::thread([this, name, text] { type(name, text); }));
    }
    void click(std::string_view name) const {
        check(enabled(name), std::string(name) + " is enabled before it is clicked");
        PostMessageW(control(name), BM_CLICK, 0, 0);
    }
    // Waits until the control shows the text.
    void expect(std::string_view name, const std::wstring& expected, double seconds = 30) const {
        try {
            waitFor(
                std::string(name) + " to show \"" + narrow(expected) + "\"",
                [&] { return text(name) == expected; }, seconds);
        } catch (const Stop&) {
            checkEqual(text(name), expected, std::string(name));
        }
    }
    void expectCaption(const std::wstring& expected) const {
        try {
            waitFor("the caption \"" + narrow(expected) + "\"",
                    [&] { return textOf(form_) == expected; });
        } catch (const Stop&) {
            checkEqual(textOf(form_), expected, "the caption");
        }
    }

    DWORD waitForExit(double seconds = 30) const {
        if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(seconds * 1000)) !=
            WAIT_OBJECT_0) {
            throw Stop("zebcontest.exe did not end");
        }
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

    using Box = MessageBoxSeen;
    Box box(const std::wstring& title) const { return messageBoxOf(info_.dwProcessId, title); }
    void answer(const Box& box, int button) const { zeb::test::answer(box, button); }

    // The file dialog with its title: checks the name it proposes, gives it `path` and presses
    // its OK button.
    void chooseFile(const std::wstring& title, const std::wstring& proposed,
                    const std::wstring& path) const {
        const HWND dialog = waitFor("the file dialog \"" + narrow(title) + "\"",
                                    [&] { return topWindow(info_.dwProcessId, L"#32770", title); });
        // The name box: a combo box (cmb13) holding an edit, or an edit of its own (edt1).
        const HWND name = waitFor("the file name box", [&] {
            const HWND combo = childById(dialog, 0x47C);
            HWND edit =
                combo != nullptr ? FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
            if (edit == nullptr && combo != nullptr) {
                edit = FindWindowExW(FindWindowExW(combo, nullptr, L"ComboBox", nullptr), nullptr,
                                     L"Edit", nullptr);
            }
            return edit != nullptr ? edit : childById(dialog, 0x480);
        });
        // A file chosen before may be proposed by its name alone, in its folder.
        const std::wstring bare = proposed.substr(proposed.find_last_of(L'\\') + 1);
        try {
            waitFor(
                "the dialog to propose " + narrow(proposed),
                [&] {
                    const std::wstring shown = textOf(name);
                    return shown == proposed || shown == bare;
                },
                10);
        } catch (const Stop&) {
            checkEqual(textOf(name), proposed, "the name proposed by \"" + narrow(title) + "\"");
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                            SMTO_NORMAL, 10000, &result);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(childById(dialog, IDOK)));
        waitFor("the file dialog to close",
                [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    }

    // Returns once the form has finished what it was doing.
    void settle() const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
    }

    // The control that has the keyboard in the form's thread.
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(info_.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }

  private:
    PROCESS_INFORMATION info_{};
    HWND form_ = nullptr;
};

std::string nameOf(const Program& program, HWND control) {
    for (const zeb::FormControl& c : zeb::formDescription().controls) {
        if (childById(program.form(), zeb::win32::controlId(c.name)) == control) {
            return std::string(c.name);
        }
    }
    return "<" + narrow(classOf(control)) + ">";
}

// Every control where the form's description puts it, under its parent, with its text.
void checkLayout(const Program& program) {
    const zeb::FormDescription& form = zeb::formDescription();
    checkEqual(textOf(program.form()), widen(zeb::cp1250ToUtf8(form.caption)), "the caption");
    const UINT dpi = GetDpiForWindow(program.form());
    const auto scale = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    RECT frame{};
    GetWindowRect(program.form(), &frame);
    check(frame.right - frame.left == scale(form.width) &&
              frame.bottom - frame.top == scale(form.height),
          "the window is " + std::to_string(frame.right - frame.left) + " x " +
              std::to_string(frame.bottom - frame.top));
    RECT client{};
    GetClientRect(program.form(), &client);
    for (const zeb::FormControl& c : form.controls) {
        const std::string name(c.name);
        const HWND control = program.control(c.name);
        const HWND parent = c.parent == zeb::kFormName ? program.form() : program.control(c.parent);
        check(GetParent(control) == parent, name + " lies on " + std::string(c.parent));
        std::wstring caption = widen(zeb::cp1250ToUtf8(c.caption));
        if (c.kind == zeb::ControlKind::Memo) {
            std::wstring lines;
            for (const wchar_t ch : caption) {
                lines += ch == L'\n' ? L"\r\n" : std::wstring(1, ch);
            }
            caption = lines;
        }
        checkEqual(textOf(control), caption, name + "'s text");
        if (c.kind == zeb::ControlKind::Page) {
            continue;
        }
        RECT place{};
        GetWindowRect(control, &place);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
        const bool alignedToTop = c.name == form.alignedToTop;
        const int width = alignedToTop ? client.right : scale(c.width);
        const bool sized = c.kind != zeb::ControlKind::Label;
        check(place.left == scale(c.left) && place.top == scale(c.top) &&
                  (!sized || (place.right - place.left == width &&
                              place.bottom - place.top == scale(c.height))),
              name + " stands at " + std::to_string(place.left) + ", " + std::to_string(place.top) +
                  ", " + std::to_string(place.right - place.left) + " x " +
                  std::to_string(place.bottom - place.top));
    }
}

// Tab walks the form's tab order, wherever the keyboard is, and leaving the call pattern puts
// back what the line holds.
void checkTabOrder(const Program& program) {
    std::vector<std::string> order;
    for (const zeb::FormControl* c : zeb::tabOrder(zeb::formDescription(), "tabsoub")) {
        order.emplace_back(c->name);
    }
    const HWND start = program.focus();
    const std::string first = start != nullptr ? nameOf(program, start) : "nothing";
    const auto at = std::find(order.begin(), order.end(), first);
    if (at == order.end()) {
        std::printf("skipped the tab order: the keyboard is at %s, outside the form\n",
                    first.c_str());
        return;
    }
    std::rotate(order.begin(), at, order.end());
    order.push_back(first);
    const std::wstring pattern = program.text("cvzor");
    program.type("cvzor", L"typed over");
    std::vector<std::string> visited{first};
    while (visited.size() < order.size()) {
        const HWND before = program.focus();
        PostMessageW(before, WM_KEYDOWN, VK_TAB, 0);
        const HWND after = waitFor("Tab to move on", [&] {
            const HWND now = program.focus();
            return now != before ? now : HWND{};
        });
        visited.push_back(nameOf(program, after));
    }
    const auto joined = [](const std::vector<std::string>& names) {
        std::string all;
        for (const std::string& name : names) {
            all += name + " ";
        }
        return all;
    };
    check(visited == order, "Tab visits " + joined(visited) + "instead of " + joined(order));
    program.expect("cvzor", pattern);
}

void runRound(const std::wstring& exe) {
    const std::string autoProtocol = fileBytes(L"auto.prn");
    const std::string corrected = fileBytes(L"corrected.prn");
    if (autoProtocol.empty() || corrected.empty()) {
        throw Stop("auto.prn or corrected.prn is missing");
    }
    const std::wstring log = fullPath(L"party-crlf.cbr");
    const std::wstring protocol = fullPath(L"výsledek.prn");
    const std::wstring config = fullPath(L"sloupce.ini");
    DeleteFileW(protocol.c_str());
    DeleteFileW(config.c_str());

    // Double-clicked: the empty form.
    {
        step("zebcontest.exe started on its own");
        const Program program(exe, L"");
        checkLayout(program);
        check(!program.enabled("bvypocet") && !program.enabled("bukladani") &&
                  !program.enabled("radek1") && !program.visible("paska"),
              "compute, save and the row edit are disabled and the progress bar hidden");
        for (const char* label : {"qsos", "dubly", "body", "zeby", "dxcc", "celkem", "povel"}) {
            checkEqual(program.text(label), L"", std::string(label) + " after start");
        }

        step("the log chosen in the open dialog");
        SendMessageW(program.control("PageControl1"), TCM_SETCURSEL, 2, 0);
        check(program.visible("Memo2") && !program.visible("tabsoub"), "the about page in front");
        program.click("nactidenik");
        program.chooseFile(L"Načti deník", L"*.cbr", log);
        program.expect("povel", L"deník načten");
        program.expectCaption(L"party-crlf.cbr");
        check(program.visible("tabsoub") && !program.visible("Memo2"),
              "the configuration page in front after the load");
        checkEqual(program.text("radek1"), L"1", "radek1");
        checkEqual(program.text("cstart"), L"55", "cstart");
        checkEqual(program.text("istart"), L"73", "istart");
        checkEqual(program.text("cvzor"), L"OK1DEF    ", "cvzor");
        checkEqual(program.text("ivzor"), L"0042", "ivzor");
        check(program.enabled("bvypocet") && !program.enabled("bukladani") &&
                  program.enabled("radek1"),
              "compute enabled, save disabled after the load");

        step("a row beyond the log");
        const auto typing = program.typeAside("radek1", L"99");
        const Program::Box tooMany = program.box(L"Error");
        checkEqual(tooMany.text, L"Tolik QSO tu není!", "the row message");
        check(tooMany.buttons == std::vector<std::wstring>{L"&Abort"},
              "the row message has &Abort alone");
        program.answer(tooMany, IDABORT);
        program.type("radek1", L"1");
        program.expect("ivzor", L"0042");

        // Computed with the columns found; the call without a known prefix ignored.
        const auto compute = [&](const std::string& expectedProtocol) {
            program.click("bvypocet");
            const Program::Box question = program.box(L"Error");
            checkEqual(question.text, L"pro call ok1zzz\nna radku 9\nnenalezen prefix",
                       "the prefix question");
            check(question.buttons == std::vector<std::wstring>{L"&Abort", L"&Ignore"},
                  "the prefix question has &Abort and &Ignore");
            program.answer(question, IDIGNORE);
            for (const auto& [label, text] : labelsOf(expectedProtocol)) {
                program.expect(label, text);
            }
            check(program.enabled("bukladani") && !program.visible("paska"),
                  "save enabled and the progress bar hidden after the computation");
        };
        step("computed with the columns found");
        compute(autoProtocol);
        step("Tab through the form");
        checkTabOrder(program);

        step("the exchange column corrected and computed again");
        program.type("istart", L"74");
        program.expect("ivzor", L"042");
        compute(corrected);

        step("the protocol saved");
        program.click("bukladani");
        program.chooseFile(L"Ulož výsledek", L"*.prn", protocol);
        program.expect("povel", L"Výsledek uložen");
        check(fileBytes(protocol) == corrected, "výsledek.prn is zebscore.exe's protocol");

        step("saved again over it, and cancelled");
        const std::string before = "an earlier protocol";
        std::ofstream(protocol.c_str(), std::ios::binary) << before;
        program.click("bukladani");
        program.chooseFile(L"Ulož výsledek", protocol, protocol);
        const Program::Box overwrite = program.box(L"Confirm");
        checkEqual(overwrite.text, L"Soubor existuje, chceš ho přepsat?", "the overwrite question");
        check(overwrite.buttons == std::vector<std::wstring>{L"OK", L"Cancel"},
              "the overwrite question has OK and Cancel");
        program.answer(overwrite, IDCANCEL);
        program.settle();
        check(fileBytes(protocol) == before, "Cancel keeps the protocol");

        step("the configuration saved");
        program.click("Button2");
        program.chooseFile(L"Ulož konfiguraci", L"*.ini", config);
        waitFor("sloupce.ini", [&] { return !fileBytes(config).empty(); });
        check(fileBytes(config) == "55\r\n10\r\n74\r\n10\r\n", "sloupce.ini holds the columns");

        program.click("Button1");
        check(program.waitForExit() == 0, "Konec ends with exit code 0");
    }

    // A log dropped onto the program's icon; the form takes drops too (their handling is tested
    // inside the process, as the system hands a drop to no other). Abort ends it with -1.
    {
        step("a log dropped onto zebcontest.exe");
        const Program program(exe, fullPath(L"party-lf.cbr"));
        const Program::Box longLines = program.box(L"Warning");
        checkEqual(longLines.text, L"Nalezen řádek delší, než 80 znaků,zkrácen", "the warning");
        check(longLines.buttons == std::vector<std::wstring>{L"OK"}, "the warning has OK alone");
        program.answer(longLines, IDOK);
        program.expect("povel", L"deník načten");
        program.expectCaption(L"party-lf.cbr");
        check((GetWindowLongPtrW(program.form(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0,
              "the form takes dropped files");

        program.click("bvypocet");
        const Program::Box question = program.box(L"Error");
        checkEqual(question.text, L"pro call Q2XX\nna radku 7\nnenalezen prefix",
                   "the prefix question");
        program.answer(question, IDABORT);
        check(program.waitForExit() == static_cast<DWORD>(-1), "&Abort ends with exit code -1");
    }
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: form_driver ZEBCONTEST_EXE [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 1;
    for (int round = 1; round <= rounds; ++round) {
        roundStart = std::chrono::steady_clock::now();
        const int before = failures;
        const int checksBefore = checks;
        try {
            runRound(argv[1]);
        } catch (const Stop& stop) {
            check(false, stop.what());
        }
        const auto took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - roundStart);
        std::printf("round %d: %s, %d checks, in %.1f s\n", round,
                    failures == before ? "passed" : "FAILED", checks - checksBefore, took.count());
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
