#include "ui/Application.h"

int main(int argc, char** argv) { return zb::runApplication(argc, argv); }
