// The encoder's child process on Windows: CreateProcess with the program found on PATH, a pipe
// to its standard input, and its exit code.
#include "tools/capture/encoder_process.h"

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "tools/capture/stop_signals.h"

namespace {

// How often a stoppable wait looks for a stop request; nothing interrupts a wait on Windows.
constexpr DWORD stopCheckMilliseconds = 50;

std::string windowsError(DWORD error) {
    return std::system_category().message(static_cast<int>(error));
}

// One argument as the C runtime's command-line parser reads it back: quoted when it holds a
// space, a tab or a quote, with backslashes doubled only where they precede a quote.
std::string quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        text += c;
        backslashes = 0;
    }
    text.append(2 * backslashes, '\\');
    return text + "\"";
}

std::string commandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        line += (line.empty() ? "" : " ") + quoted(arg);
    }
    return line;
}

// The program's full path from PATH (and the folders Windows searches first), empty if none.
std::string findOnPath(const std::string& program) {
    char found[MAX_PATH];
    const DWORD length = SearchPathA(nullptr, program.c_str(), ".exe", MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(found, length) : std::string();
}

HANDLE inheritable(HANDLE handle) {
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return handle;
}

// Starts the program with the three handles as its standard streams, handing it those alone.
HANDLE spawn(const std::string& path, const std::vector<std::string>& args, HANDLE input,
             HANDLE output, HANDLE errors) {
    HANDLE handed[] = {inheritable(input), inheritable(output), inheritable(errors)};
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> list(size);
    const auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
    InitializeProcThreadAttributeList(attributes, 1, 0, &size);
    UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handed,
                              sizeof handed, nullptr, nullptr);
    STARTUPINFOEXA startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = errors;
    startup.lpAttributeList = attributes;
    std::string line = commandLine(args);
    PROCESS_INFORMATION started{};
    // A process group of its own keeps the console's Ctrl+C from reaching it: the renderer
    // decides what becomes of a video that was cut short.
    const BOOL ok = CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, TRUE,
                                   EXTENDED_STARTUPINFO_PRESENT | CREATE_NEW_PROCESS_GROUP, nullptr,
                                   nullptr, &startup.StartupInfo, &started);
    const DWORD error = GetLastError();
    DeleteProcThreadAttributeList(attributes);
    if (!ok) {
        throw std::runtime_error("cannot start " + path + ": " + windowsError(error));
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

} // namespace

EncoderProcess::EncoderProcess(const std::vector<std::string>& args, std::FILE* log,
                               std::size_t pipeBytes) {
    const std::string path = findOnPath(args[0]);
    if (path.empty()) {
        throw std::runtime_error("cannot start " + args[0] + ": " + args[0] +
                                 ".exe is not on PATH (a video needs it: install " + args[0] +
                                 " for Windows and add the folder of " + args[0] + ".exe to PATH)");
    }
    HANDLE read = nullptr, write = nullptr; // neither inherited unless handed on
    if (!CreatePipe(&read, &write, nullptr, static_cast<DWORD>(pipeBytes))) {
        throw std::runtime_error("cannot make a pipe for " + args[0] + ": " +
                                 windowsError(GetLastError()));
    }
    const HANDLE discard = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    try {
        const HANDLE errors = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(log)));
        child = reinterpret_cast<std::intptr_t>(spawn(path, args, read, discard, errors));
    } catch (...) {
        CloseHandle(read);
        CloseHandle(write);
        CloseHandle(discard);
        throw;
    }
    CloseHandle(read); // the child holds its own copies
    CloseHandle(discard);
    pipeInput = _open_osfhandle(reinterpret_cast<std::intptr_t>(write), _O_WRONLY | _O_BINARY);
}

ProcessEnd EncoderProcess::wait(bool stoppable) {
    if (child == -1) {
        return {};
    }
    const HANDLE process = reinterpret_cast<HANDLE>(child);
    while (WaitForSingleObject(process, stopCheckMilliseconds) == WAIT_TIMEOUT) {
        if (stoppable) {
            throwIfStopRequested();
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    child = -1;
    return {true, static_cast<int>(code)};
}

void EncoderProcess::kill() {
    if (child != -1) {
        TerminateProcess(reinterpret_cast<HANDLE>(child), 1);
    }
}

std::FILE* makeProcessLog() {
    char folder[MAX_PATH + 1];
    char path[MAX_PATH + 1];
    if (GetTempPathA(sizeof folder, folder) == 0 || GetTempFileNameA(folder, "omb", 0, path) == 0) {
        errno = ENOENT;
        return nullptr;
    }
    // Shared for writing, so that the child can write into it while this process reads it later.
    const HANDLE file = CreateFileA(
        path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errno = EACCES;
        return nullptr;
    }
    const int descriptor =
        _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_RDWR | _O_BINARY);
    std::FILE* log = descriptor < 0 ? nullptr : _fdopen(descriptor, "w+b");
    if (!log) {
        CloseHandle(file);
    }
    return log;
}

int processId() {
    return static_cast<int>(GetCurrentProcessId());
}

int ClaimedFile::claim(const std::string& path) {
    const int descriptor =
        _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
              _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        return errno;
    }
    _close(descriptor);
    return 0;
}

ClaimedFile::~ClaimedFile() = default;
