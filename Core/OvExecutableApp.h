#pragma once
// An application object of a program (as opposed to a library): its arguments come from the
// process command line.

#include "OvApp.h"

class OvExecutableApp : public OvApp {
public:
    int Run(HINSTANCE instance, HINSTANCE previous, int show) override;

    // The process command line split into arguments (the program path first).
    static OvStringArray ReadProcessArguments();
    // The arguments joined with single blanks; a double quote inside an argument gets a backslash
    // before it, and an argument that is empty or holds a blank or an apostrophe is enclosed in
    // double quotes.
    static OvString JoinArguments(const OvStringArray& arguments);
};
