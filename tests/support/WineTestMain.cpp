// The entry of the windows test programs that have none of their own: GoogleTest's, ended with
// EndTestProgram.
#include <gtest/gtest.h>

#include "TestProgramEnd.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    EndTestProgram(RUN_ALL_TESTS());
}
