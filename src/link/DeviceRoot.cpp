#include "link/DeviceRoot.h"

#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <vector>

namespace vantrel {

namespace {

constexpr int kMaxLinks = 40; // as the kernel allows

std::deque<std::string> Components(const std::string& path) {
    std::deque<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Joined(const std::vector<std::string>& parts) {
    if (parts.empty()) return "/";
    std::string path;
    for (const std::string& part : parts)
        path += "/" + part;
    return path;
}

} // namespace

std::string UnderRoot(const std::string& root, const std::string& path) {
    std::string base = root;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base + path;
}

std::optional<std::string> ResolveUnderRoot(const std::string& path, const std::string& root) {
    std::deque<std::string> todo = Components(path);
    std::vector<std::string> done;
    int links = 0;
    while (!todo.empty()) {
        std::string part = std::move(todo.front());
        todo.pop_front();
        if (part == ".") continue;
        if (part == "..") {
            if (!done.empty()) done.pop_back();
            continue;
        }
        done.push_back(part);
        std::string file = UnderRoot(root, Joined(done));
        struct stat st {};
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) continue;
        if (++links > kMaxLinks) return std::nullopt;
        std::string target(4096, '\0');
        ssize_t length = ::readlink(file.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return std::nullopt;
        target.resize(static_cast<std::size_t>(length));
        done.pop_back();
        if (target.front() == '/') done.clear();
        std::deque<std::string> inner = Components(target);
        todo.insert(todo.begin(), inner.begin(), inner.end());
    }
    return Joined(done);
}

} // namespace vantrel
