#ifndef PATHWICK_TESTS_SUPPORT_RUNLOG_H
#define PATHWICK_TESTS_SUPPORT_RUNLOG_H

// The run log as the tests read it: its lines, and the messages written
// since a point in time.

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "diag/log.h"

namespace testsupport {

// The log's bytes from nFrom on; nothing when there is no log.
inline std::string readLog(const std::string& rPath, std::streamoff nFrom = 0) {
  std::ifstream in(rPath.c_str(), std::ios::binary);
  in.seekg(nFrom);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Lines without their line ends.
inline std::vector<std::string> logLines(const std::string& rText) {
  std::vector<std::string> lines;
  std::istringstream in(rText);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A message line starts with "[" + the 24-character time stamp + "]"; the
// banners have none.
inline bool hasStamp(const std::string& rLine) {
  return rLine.size() >= 26 && rLine[0] == '[' && rLine[25] == ']';
}

inline std::string messageOf(const std::string& rLine) {
  return hasStamp(rLine) ? rLine.substr(26) : std::string();
}

// The messages the program has logged since the watch was made.
class LogWatch {
 public:
  LogWatch() : m_strPath(SLog::S_getSingleton()->getPath(0)), m_nStart(0) {
    std::ifstream in(m_strPath.c_str(), std::ios::binary | std::ios::ate);
    if (in) m_nStart = in.tellg();
  }

  std::vector<std::string> newMessages() const {
    std::vector<std::string> messages;
    for (const std::string& rLine : logLines(readLog(m_strPath, m_nStart)))
      if (hasStamp(rLine)) messages.push_back(messageOf(rLine));
    return messages;
  }
  int count(const std::string& rMessage) const {
    const std::vector<std::string> messages = newMessages();
    return static_cast<int>(std::count(messages.begin(), messages.end(), rMessage));
  }
  bool saw(const std::string& rMessage) const { return count(rMessage) > 0; }

 private:
  std::string m_strPath;
  std::streamoff m_nStart;
};

}  // namespace testsupport

#endif
