#include "app/ui/modStart.h"

// The edition is fixed per executable: 3 is the customer edition as delivered.
int main(int argc, char** argv) { return talu::Start(argc, argv, TALU_AUSGABE); }
