#pragma once

#include <string>
#include <vector>

// Client side of http_fault_server.py, which the test run starts on
// 127.0.0.1 port 80.

const wchar_t kServer[] = L"http://127.0.0.1";

struct CRequestRecord {
  std::string port;
  std::string method;
  std::string path;
  std::string agent;
};

// The requests the server saw since the last call.
std::vector<CRequestRecord> TakeRequestLog();

// Lets a body stalled by /stall/... go on.
void ReleaseStall();
// How many bodies the server holds back right now.
int StalledBodies();

// The bytes the server sends for a body of the given size.
std::string PatternBody(std::size_t size);
