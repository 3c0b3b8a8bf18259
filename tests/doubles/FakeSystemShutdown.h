#pragma once
// Records the shutdown calls instead of making them; a call can be made to
// fail with a system error code.

#include <map>
#include <string>
#include <vector>

#include "common/Exceptions.h"
#include "platform/ISystemShutdown.h"

namespace vh::testing {

class FakeSystemShutdown : public ISystemShutdown {
public:
    std::vector<std::string> Calls;        // "privilege", "exit", "initiate 60"
    std::map<std::string, unsigned> Fail;  // call name ("privilege", "exit", "initiate") -> error code

    void EnableShutdownPrivilege() override { Record("privilege", "privilege"); }
    void EndSessionForShutdown() override { Record("exit", "exit"); }
    void RequestShutdown(unsigned timeoutSeconds) override {
        Record("initiate", "initiate " + std::to_string(timeoutSeconds));
    }

private:
    void Record(const std::string& name, std::string call) {
        Calls.push_back(std::move(call));
        if (auto failure = Fail.find(name); failure != Fail.end())
            throw EOSError(failure->second, "Refused by the test");
    }
};

}  // namespace vh::testing
