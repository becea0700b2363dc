// An environment variable set (or, for nullptr, cleared) while the object lives,
// and given back its old value after.
#pragma once

#include <cstdlib>
#include <string>

class EnvVariable {
public:
    EnvVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~EnvVariable() {
        if (had_) setenv(name_.c_str(), old_.c_str(), 1);
        else unsetenv(name_.c_str());
    }
    EnvVariable(const EnvVariable&) = delete;
    EnvVariable& operator=(const EnvVariable&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};
