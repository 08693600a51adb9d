#pragma once

class Shader {
public:
    bool compile(const char* source);
private:
    unsigned id = 0;
};
