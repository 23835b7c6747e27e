#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// Old 16-bit keywords that would swallow the name of test::near.
#undef near
#undef far
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/workspace/records.h"
#include "test_support.h"

// zephalo-cli as a child process that a test can run alongside another one,
// wait for with a bound, or kill; and a work space's files as one value.
namespace zephalo::test {

// How a child ended: its exit status, or the signal that ended it.
struct ChildEnd {
    bool exited = false;
    int exitCode = -1;
    int signal = 0;
    bool timedOut = false;  // still running at the bound and killed
};

#ifdef _WIN32

// One argument as the C runtime splits a command line: quoted, a quote
// escaped, and the backslashes before a quote (or the closing one) doubled.
inline std::wstring windowsArgument(const std::wstring& word) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

class CliProcess {
public:
    // Starts ZEPHALO_CLI with `arguments` (UTF-8); its output goes to `outFile` and `errFile`.
    CliProcess(const std::vector<std::string>& arguments, const std::filesystem::path& outFile,
               const std::filesystem::path& errFile) {
        const std::filesystem::path program(ZEPHALO_CLI);
        std::wstring commandLine = windowsArgument(program.wstring());
        for (const auto& a : arguments)
            commandLine += L" " + windowsArgument(core::pathFromText(a).wstring());
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        auto open = [&](const wchar_t* name, DWORD access, DWORD disposition) {
            return CreateFileW(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                               disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        HANDLE in = open(L"NUL", GENERIC_READ, OPEN_EXISTING);
        HANDLE out = open(outFile.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
        HANDLE err = open(errFile.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                           nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            m_process = info.hProcess;
        }
        for (HANDLE h : {in, out, err}) {
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
    }
    ~CliProcess() {
        if (!m_process) return;
        if (!m_reaped) {
            TerminateProcess(m_process, kKilled);
            WaitForSingleObject(m_process, INFINITE);
        }
        CloseHandle(m_process);
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    bool started() const { return m_process != nullptr; }

    void killNow() {
        if (m_process && !m_reaped && TerminateProcess(m_process, kKilled)) m_killed = true;
    }

    // Waits for the end; a child still running after `bound` is killed.
    ChildEnd wait(std::chrono::milliseconds bound = std::chrono::seconds(60)) {
        ChildEnd end;
        if (!m_process) return end;
        if (WaitForSingleObject(m_process, static_cast<DWORD>(bound.count())) != WAIT_OBJECT_0) {
            end.timedOut = true;
            killNow();
            WaitForSingleObject(m_process, INFINITE);
        }
        m_reaped = true;
        DWORD code = 0;
        GetExitCodeProcess(m_process, &code);
        end.exited = !m_killed;
        end.exitCode = end.exited ? static_cast<int>(code) : -1;
        end.signal = m_killed ? 9 : 0;
        return end;
    }

private:
    static constexpr UINT kKilled = 137;
    HANDLE m_process = nullptr;
    bool m_reaped = false;
    bool m_killed = false;
};

#else

class CliProcess {
public:
    // Starts ZEPHALO_CLI with `arguments`; its output goes to `outFile` and `errFile`.
    CliProcess(const std::vector<std::string>& arguments, const std::filesystem::path& outFile,
               const std::filesystem::path& errFile) {
        std::vector<std::string> words{ZEPHALO_CLI};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&m_pid, ZEPHALO_CLI, &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~CliProcess() {
        if (m_pid > 0 && !m_reaped) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    bool started() const { return m_pid > 0; }

    void killNow() {
        if (m_pid > 0 && !m_reaped) kill(m_pid, SIGKILL);
    }
    // Ctrl+C.
    void interrupt() {
        if (m_pid > 0 && !m_reaped) kill(m_pid, SIGINT);
    }

    // Waits for the end; a child still running after `bound` is killed.
    ChildEnd wait(std::chrono::milliseconds bound = std::chrono::seconds(60)) {
        ChildEnd end;
        if (m_pid <= 0) return end;
        const auto deadline = std::chrono::steady_clock::now() + bound;
        int status = 0;
        while (true) {
            const pid_t done = waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid) break;
            if (std::chrono::steady_clock::now() >= deadline) {
                end.timedOut = true;
                kill(m_pid, SIGKILL);
                waitpid(m_pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        m_reaped = true;
        end.exited = WIFEXITED(status);
        end.exitCode = end.exited ? WEXITSTATUS(status) : -1;
        end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        return end;
    }

private:
    pid_t m_pid = -1;
    bool m_reaped = false;
};

#endif

// Every regular file of a folder by name, with its whole content.
using FileSet = std::map<std::string, std::string>;

// The work space's history folder: its files count as "ZEPHALO.history/NAME".
inline constexpr const char* kHistoryFolder = "ZEPHALO.history";

// The list of steps with the time of each step blanked, so that two runs of
// the same commands compare equal.
inline std::string withoutTimes(const std::string& steps) {
    std::string out;
    std::size_t start = 0;
    while (start < steps.size()) {
        std::size_t end = steps.find('\n', start);
        if (end == std::string::npos) end = steps.size();
        std::string line = steps.substr(start, end - start);
        if (line.rfind("step\t", 0) == 0) {
            // step, id, flags, TIME, ...
            std::size_t at = 0;
            for (int field = 0; field < 3 && at != std::string::npos; ++field)
                at = line.find('\t', at + 1);
            const std::size_t next = at == std::string::npos ? at : line.find('\t', at + 1);
            if (next != std::string::npos) line.replace(at + 1, next - at - 1, "*");
        }
        out += line + '\n';
        start = end + 1;
    }
    return out;
}

inline FileSet fileSetOf(const std::filesystem::path& folder) {
    FileSet files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name == kHistoryFolder && entry.is_directory()) {
            for (const auto& kept : std::filesystem::directory_iterator(entry.path())) {
                const std::string keptName = kept.path().filename().string();
                std::string text = readFile(kept.path());
                if (keptName == "steps") text = withoutTimes(text);
                files[name + "/" + keptName] = text;
            }
            continue;
        }
        files[name] =
            entry.is_regular_file() ? readFile(entry.path()) : std::string("<not a file>");
    }
    return files;
}

// Makes `folder` hold exactly `files`.
inline void restoreFileSet(const std::filesystem::path& folder, const FileSet& files) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const auto& [name, content] : files) {
        if (name.rfind(std::string(kHistoryFolder) + "/", 0) == 0)
            std::filesystem::create_directories(folder / kHistoryFolder);
        writeFile(folder / name, content);
    }
}

// True under the sanitized build, whose children run several times slower.
inline bool sanitizedRun() {
    const char* value = std::getenv("ZEPHALO_TEST_SANITIZED");
    return value && *value && std::string(value) != "0";
}

}  // namespace zephalo::test
