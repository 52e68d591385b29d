#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <utility>

#include "platform/ui/form.h"

namespace kiv::ui {
namespace {

std::function<void(const std::string&)>& UrlRecorder() {
  static std::function<void(const std::string&)> recorder;
  return recorder;
}

}  // namespace

void SetOpenUrlRecorder(std::function<void(const std::string& url)> recorder) { UrlRecorder() = std::move(recorder); }

void OpenUrl(const std::string& url) {
  if (UrlRecorder()) {
    UrlRecorder()(url);
    return;
  }
  // Two forks: the handler runs as the grandchild, the child ends at once and
  // is reaped here, so nothing waits for the browser and no zombie stays.
  const pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    const pid_t handler = fork();
    if (handler == 0) {
      execlp("xdg-open", "xdg-open", url.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

}  // namespace kiv::ui
