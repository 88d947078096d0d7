#pragma once

// This test program started again as a child process that runs one disabled test of its own, given an
// argument (childArgument), until it is killed at once, as a power cut would. Linux and Windows.

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

class ChildProcess
{
public:
    // Runs the test `suite.DISABLED_name` of this program with `argument`; its own report goes nowhere.
    ChildProcess(const std::string& test, const std::string& argument)
    {
        const std::string filter = "--gtest_filter=" + test, disabled = "--gtest_also_run_disabled_tests";
#ifdef _WIN32
        wchar_t program[32768];
        GetModuleFileNameW(nullptr, program, 32768);
        std::wstring line = L"\"" + std::wstring(program) + L"\" " + wide(filter) + L" " + wide(disabled);
        SetEnvironmentVariableW(L"GLIMMORA_CHILD", wide(argument).c_str());
        STARTUPINFOW startup{}; // no standard handles
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        PROCESS_INFORMATION started{};
        if (CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
            CloseHandle(started.hThread), m_process = started.hProcess;
        SetEnvironmentVariableW(L"GLIMMORA_CHILD", nullptr);
#else
        char* args[] = {const_cast<char*>("/proc/self/exe"), const_cast<char*>(filter.c_str()), const_cast<char*>(disabled.c_str()), nullptr};
        ::setenv("GLIMMORA_CHILD", argument.c_str(), 1);
        posix_spawn_file_actions_t quiet;
        ::posix_spawn_file_actions_init(&quiet);
        ::posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        if (::posix_spawn(&m_process, args[0], &quiet, nullptr, args, environ) != 0)
            m_process = -1;
        ::posix_spawn_file_actions_destroy(&quiet);
        ::unsetenv("GLIMMORA_CHILD");
#endif
    }
    ChildProcess(const ChildProcess&) = delete;
    ~ChildProcess() { kill(); }

    // At once, with no chance to tidy up.
    void kill()
    {
#ifdef _WIN32
        if (m_process)
            TerminateProcess(m_process, 9), WaitForSingleObject(m_process, INFINITE), CloseHandle(m_process), m_process = nullptr;
#else
        if (m_process > 0)
            ::kill(m_process, SIGKILL), ::waitpid(m_process, nullptr, 0), m_process = -1;
#endif
    }

private:
#ifdef _WIN32
    static std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); } // ASCII
    HANDLE m_process = nullptr;
#else
    pid_t m_process = -1;
#endif
};

// The argument this process was started with as a child; empty in the test run itself.
inline std::string childArgument()
{
    const char* argument = std::getenv("GLIMMORA_CHILD");
    return argument ? argument : "";
}
