#include "tests/pages_options/loopback_server.h"

#include <ws2tcpip.h>

namespace test {

LoopbackServer::LoopbackServer() {
  WSADATA data = {};
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return;
  // Not inherited: a child process would otherwise keep the port open after the test.
  SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(s, 8) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(s);
    return;
  }
  listener_ = s;
  port_ = ntohs(address.sin_port);
  thread_ = CreateThread(nullptr, 0, &ThreadMain, this, 0, nullptr);
}

LoopbackServer::~LoopbackServer() {
  InterlockedExchange(&stop_, 1);
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  for (SOCKET s : hanging_) closesocket(s);
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  WSACleanup();
}

std::wstring LoopbackServer::Url(const std::string& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

void LoopbackServer::Serve(const std::string& path, int status, const std::string& body) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = Answer{status, body, false};
}

void LoopbackServer::Hang(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = Answer{0, std::string(), true};
}

int LoopbackServer::Requests(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = requests_.find(path);
  return it == requests_.end() ? 0 : it->second;
}

DWORD WINAPI LoopbackServer::ThreadMain(void* self) {
  static_cast<LoopbackServer*>(self)->Run();
  return 0;
}

void LoopbackServer::Run() {
  while (!stop_) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval wait = {0, 50 * 1000};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client != INVALID_SOCKET) Handle(client);
  }
}

void LoopbackServer::Handle(SOCKET client) {
  std::string request;
  char chunk[1024];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(client, &readable);
    timeval wait = {5, 0};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) break;
    int got = recv(client, chunk, sizeof(chunk), 0);
    if (got <= 0) break;
    request.append(chunk, static_cast<size_t>(got));
  }
  std::string path;
  size_t space = request.find(' ');
  if (space != std::string::npos) path = request.substr(space + 1, request.find(' ', space + 1) - space - 1);

  Answer answer{404, "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1></body></html>\r\n"};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++requests_[path];
    auto it = answers_.find(path);
    if (it != answers_.end()) answer = it->second;
    if (answer.hang) {
      hanging_.push_back(client);
      return;
    }
  }
  std::string reason = answer.status == 200 ? "OK" : "Not Found";
  std::string response = "HTTP/1.1 " + std::to_string(answer.status) + " " + reason +
                         "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(answer.body.size()) +
                         "\r\nConnection: close\r\n\r\n" + answer.body;
  send(client, response.data(), static_cast<int>(response.size()), 0);
  shutdown(client, SD_SEND);
  closesocket(client);
}

}  // namespace test
