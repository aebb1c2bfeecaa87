#include "DemoData.h"

void fillDemoData(CDatabase&) {}
void generateEvents(CDatabase&, int, unsigned) {}
