// The busy state for the length of a scope: on at construction, off again on
// every way out, errors included.
#pragma once

class Form1;

class BusyPointer {
public:
    explicit BusyPointer(Form1& form);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Form1& form_;
};
