#include "print/support/GuiEnvironment.h"

int main(int argc, char** argv) { return vantrep::testing::runTestsWithGui(argc, argv); }
