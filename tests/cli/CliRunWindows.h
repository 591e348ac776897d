#pragma once
// RunCli on Windows: the tool lies at WYK_CLI_PATH from the test's own folder; its outputs go to
// temporary files, which need no reader thread.

#include <windows.h>

#include "common/PlatformFile.h"

namespace wyk::testing {

// As CommandLineToArgvW splits it again.
inline std::wstring Quoted(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'"') quoted.append(slashes + 1, L'\\');
    slashes = c == L'\\' ? slashes + 1 : 0;
    quoted += c;
  }
  return quoted.append(slashes, L'\\') + L"\"";
}

inline HANDLE TemporaryOutput() {
  wchar_t folder[MAX_PATH], name[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  ::GetTempFileNameW(folder, L"cli", 0, name);
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  return ::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherited, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

inline std::string ReadBack(HANDLE file) {
  std::string text(::GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  ::ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  ::CloseHandle(file);
  return text.substr(0, got);
}

inline CliResult RunCli(const std::vector<std::string>& args) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::filesystem::path tool = std::filesystem::path(self).parent_path() / WYK_CLI_PATH;
  std::wstring line = Quoted(tool.wstring());
  for (const std::string& a : args) line += L" " + Quoted(FilePath(a).wstring());
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = TemporaryOutput();
  start.hStdError = TemporaryOutput();
  PROCESS_INFORMATION process{};
  CliResult result;
  if (::CreateProcessW(tool.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &start, &process)) {
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    result.code = static_cast<int>(code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
  }
  result.out = ReadBack(start.hStdOutput);
  result.err = ReadBack(start.hStdError);
  return result;
}

}  // namespace wyk::testing
