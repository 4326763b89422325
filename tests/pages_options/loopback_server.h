// A small HTTP server inside the test process, on 127.0.0.1 only: each path answers with a status
// and a body, or accepts the request and never answers. Unknown paths answer 404 with an error
// page, as a web server does.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace test {

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool listening() const { return listener_ != INVALID_SOCKET; }
  unsigned short port() const { return port_; }
  std::wstring Url(const std::string& path) const;

  void Serve(const std::string& path, int status, const std::string& body);
  void Hang(const std::string& path);
  int Requests(const std::string& path) const;

 private:
  struct Answer {
    int status = 200;
    std::string body;
    bool hang = false;
  };
  static DWORD WINAPI ThreadMain(void* self);
  void Run();
  void Handle(SOCKET client);

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, Answer> answers_;
  std::map<std::string, int> requests_;
  std::vector<SOCKET> hanging_;
};

}  // namespace test
