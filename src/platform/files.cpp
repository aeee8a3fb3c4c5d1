// Files, named as the game names them: "sauv\ABCDE.SAV" is the file ABCDE.SAV in the folder
// sauv of the working directory.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/objects.h"

namespace plat {

namespace detail {

std::string systemPath(const char* gamePath) {
    std::string path = gamePath == nullptr ? std::string() : std::string(gamePath);
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

}  // namespace detail

std::FILE* openFile(const char* gamePath, const char* mode) {
    if (gamePath == nullptr || mode == nullptr) {
        return nullptr;
    }
    return std::fopen(detail::systemPath(gamePath).c_str(), mode);
}

bool makeDirectory(const char* gamePath) {
    if (gamePath == nullptr) {
        return false;
    }
    const std::string path = detail::systemPath(gamePath);
    ::mkdir(path.c_str(), 0777);
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool replaceFile(const char* fromPath, const char* toPath) {
    if (fromPath == nullptr || toPath == nullptr) {
        return false;
    }
    return std::rename(detail::systemPath(fromPath).c_str(), detail::systemPath(toPath).c_str()) ==
           0;
}

bool removeFile(const char* gamePath) {
    if (gamePath == nullptr) {
        return false;
    }
    return std::remove(detail::systemPath(gamePath).c_str()) == 0;
}

}  // namespace plat
