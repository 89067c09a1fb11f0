#pragma once

#include <string>
#include <vector>

// Client side of http_fault_server.py, which the test run starts on
// 127.0.0.1 port 80.

const wchar_t kServer[] = L"http://127.0.0.1";
// Accepts no connection: a connect there waits until the client gives up.
const wchar_t kSilentHost[] = L"http://127.0.0.3";

struct CRequestRecord {
  std::string port;
  std::string method;
  std::string path;
  std::string agent;
  std::string range;
  std::string ifRange;
  std::string sent;  // bytes on the wire so far, the head included
  std::string cacheControl;
  std::string pragma;
};

// The requests the server saw since the last call.
std::vector<CRequestRecord> TakeRequestLog();

// Lets a body stalled by /stall/... go on.
void ReleaseStall();
// How many answers the server holds back right now (/stall, /silent).
int StalledBodies();
// How many answers the client went away from before their end.
int AbandonedAnswers();

// The bytes the server sends for a body of the given size.
std::string PatternBody(std::size_t size);
