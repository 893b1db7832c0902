// Sound files, played asynchronously; failures are not reported (the program never reports them).
#pragma once

#include <string>

namespace quorlet {

class Sound {
public:
    virtual ~Sound() = default;
    virtual void PlayFileAsync(const std::string& path) = 0;
};

}  // namespace quorlet
