// The process and console of zebscore on Windows: arguments from the wide command line, and the
// program's UTF-8 text shown on a console through the wide-character API, whatever the console's
// code page.

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <streambuf>
#include <system_error>

#include "cli/console.h"
#include "cli/dropped_folder.h"
#include "cli/interrupt.h"
#include "cli/zebscore.h"
#include "contest/publish/contest_reports.h"
#include "platform/paths.h"
#include "platform/translation.h"
#include "platform/windows_text.h"

#include <shellapi.h>

namespace zeb::cli {

namespace {

// The length of the bytes that end in a whole UTF-8 character; the bytes of a character that
// is still being written wait for the rest of it.
std::size_t wholeCharacters(const char* bytes, std::size_t size) {
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80) {
            continue;  // a continuation byte: its lead byte is further back
        }
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

class ConsoleBuffer final : public std::streambuf {
  public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {
        setp(buffer_, buffer_ + sizeof buffer_);
    }

  protected:
    int_type overflow(int_type c) override {
        if (sync() != 0) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override {
        const auto size = static_cast<std::size_t>(pptr() - pbase());
        const std::size_t whole = wholeCharacters(pbase(), size);
        const std::wstring text = widen(std::string_view(pbase(), whole));
        bool ok = true;
        for (std::size_t done = 0; ok && done < text.size();) {
            DWORD written = 0;
            ok = WriteConsoleW(console_, text.data() + done, static_cast<DWORD>(text.size() - done),
                               &written, nullptr) != 0;
            done += written;
        }
        // A character cut by a full buffer stays for the next write.
        std::memmove(buffer_, pbase() + whole, size - whole);
        setp(buffer_, buffer_ + sizeof buffer_);
        pbump(static_cast<int>(size - whole));
        return ok ? 0 : -1;
    }

  private:
    HANDLE console_;
    char buffer_[4096];
};

HANDLE errorConsole = nullptr;
DWORD errorConsoleMode = 0;

void restoreErrorConsole() {
    SetConsoleMode(errorConsole, errorConsoleMode);
}

void prepare(std::FILE* file, DWORD which, std::ostream& stream) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
        // A file or pipe gets the bytes as they are: a line feed stays one byte, so that JSON and
        // reports are the same bytes as on any other system.
        std::fflush(file);
        _setmode(_fileno(file), _O_BINARY);
        return;
    }
    stream.flush();
    // Never deleted: the standard streams are flushed at the very end of the process, after the
    // static objects of this file are gone.
    stream.rdbuf(new ConsoleBuffer(handle));
    if (which == STD_ERROR_HANDLE && errorConsole == nullptr &&
        SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        errorConsole = handle;
        errorConsoleMode = mode;
        // The console belongs to the shell as well: it gets back the mode it had.
        std::atexit(restoreErrorConsole);
    }
}

// The command prompt hands "*.cbr" to the program as it stands, and Windows programs expand it
// themselves: an argument with * or ? in its last part stands for the names it matches, in name
// order; one that matches nothing stays as written, as in a POSIX shell.
void addExpanded(const std::wstring& arg, std::vector<std::string>& args) {
    const std::size_t separator = arg.find_last_of(L"\\/:");
    const std::size_t nameStart = separator == std::wstring::npos ? 0 : separator + 1;
    const bool option = !arg.empty() && arg[0] == L'-';
    if (option || arg.find_first_of(L"*?") == std::wstring::npos ||
        arg.find_first_of(L"*?") < nameStart) {
        args.push_back(narrow(arg));
        return;
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW(arg.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    std::vector<std::string> matches;
    if (search != INVALID_HANDLE_VALUE) {
        const std::wstring folder = arg.substr(0, nameStart);
        do {
            const std::wstring_view name = found.cFileName;
            if (name != L"." && name != L"..") {
                matches.push_back(narrow(folder + found.cFileName));
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    if (matches.empty()) {
        args.push_back(narrow(arg));
        return;
    }
    std::sort(matches.begin(), matches.end());
    args.insert(args.end(), matches.begin(), matches.end());
}

// Started from the file manager, the program is the only one in its console.
bool ownsItsConsole() {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

std::optional<std::filesystem::file_time_type> writtenAt(const std::string& file) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(pathFromUtf8(file), error);
    return error ? std::nullopt : std::optional(time);
}

// A key pressed, or Ctrl-C.
void waitForKey() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    FlushConsoleInputBuffer(input);
    while (!interruptRequested()) {
        const DWORD waited = WaitForSingleObject(input, 200);
        if (waited == WAIT_TIMEOUT) {
            continue;
        }
        INPUT_RECORD record{};
        DWORD count = 0;
        if (waited != WAIT_OBJECT_0 || !ReadConsoleInputW(input, &record, 1, &count)) {
            return;
        }
        if (count == 1 && record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) {
            return;
        }
    }
}

}  // namespace

std::optional<int> runInOwnConsole(const std::vector<std::string>& args, std::ostream& out,
                                   std::ostream& err) {
    if (!ownsItsConsole()) {
        return std::nullopt;
    }
    int status = kExitScored;
    if (const std::optional<std::vector<std::string>> command = droppedFolderCommand(args)) {
        const std::string& results = (*command)[1];
        const std::string index = contest::ContestFolder{results}.index();
        const auto before = writtenAt(index);
        out << "zebscore --contest " << results << ' ' << args[0] << '\n';
        out.flush();
        status = run(*command, out, err, standardErrorIsTerminal());
        // Only a page of this run: one of an earlier run would show other results.
        const auto after = writtenAt(index);
        if (after && after != before) {
            out << "zebscore: " << index << '\n';
            ShellExecuteW(nullptr, L"open", widen(index).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    } else {
        status = run(args, out, err, standardErrorIsTerminal());
    }
    if (!interruptRequested()) {
        out << "\n" << tr("Done: any key closes this window.") << "\n";
        out.flush();
        waitForKey();
    }
    return status;
}

std::vector<std::string> programArguments(int, char**) {
    // The narrow arguments are in the system's code page, which cannot hold every letter.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    if (wide == nullptr) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        addExpanded(wide[i], args);
    }
    LocalFree(wide);
    return args;
}

void prepareConsole(std::ostream& out, std::ostream& err) {
    prepare(stdout, STD_OUTPUT_HANDLE, out);
    prepare(stderr, STD_ERROR_HANDLE, err);
}

bool standardErrorIsTerminal() {
    // Only a console that understands the progress line's control sequences shows it.
    return errorConsole != nullptr;
}

}  // namespace zeb::cli
