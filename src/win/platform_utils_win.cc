// The Win32 side of platform_utils_win.h; built on Windows only.
#include "win/platform_utils_win.h"

#include <windows.h>
#include <shlobj.h>

#include "common/logging.h"

namespace lumen_addon {
namespace platform {

namespace {

constexpr char kTag[] = "request_screen_capture_access";

// Closes a token handle on every path out.
class Token {
 public:
  Token() = default;
  ~Token() {
    if (h_) CloseHandle(h_);
  }
  Token(const Token&) = delete;
  Token& operator=(const Token&) = delete;
  HANDLE* put() { return &h_; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_ = nullptr;
};

bool IsAdmin(HANDLE process_token, TOKEN_ELEVATION_TYPE type) {
  if (type != TokenElevationTypeLimited) return IsUserAnAdmin() != FALSE;
  // A limited token hides the group: ask the elevated token linked to it.
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sid_size = sizeof(sid);
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sid_size)) return false;
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  if (!GetTokenInformation(process_token, TokenLinkedToken, &linked, sizeof(linked), &size)) return false;
  Token elevated;
  *elevated.put() = linked.LinkedToken;
  BOOL member = FALSE;
  return CheckTokenMembership(elevated.get(), sid, &member) && member;
}

}  // namespace

std::string PlatformString() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // deprecated; the engine's own platform string uses it
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  const BOOL ok = GetVersionExW(&info);
#if defined(__GNUC__) && !defined(_MSC_VER)
#pragma GCC diagnostic pop
#endif
  if (!ok) return "win_0.0";
  return "win_" + std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion);
}

bool RequestScreenCaptureAccess() {
  Token token;
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()) ||
      !GetTokenInformation(token.get(), TokenElevationType, &type, sizeof(type), &size)) {
    LUMEN_LOG(kError, kTag) << "failed to read the process token, error " << GetLastError();
    return true;
  }
  LUMEN_LOG(kInfo, kTag) << (IsAdmin(token.get(), type) ? "Cur user is Admin" : "Cur user is not Admin");
  switch (type) {
    case TokenElevationTypeFull:
      LUMEN_LOG(kInfo, kTag) << "Cur Process is full token";
      return false;
    case TokenElevationTypeLimited:
      LUMEN_LOG(kInfo, kTag) << "Cur Process is restrict token";
      return true;
    default:
      LUMEN_LOG(kInfo, kTag) << "Default user, UAC is forbidden";
      return true;
  }
}

void PinModule(const void* address) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     static_cast<LPCWSTR>(address), &module);
}

}  // namespace platform
}  // namespace lumen_addon
