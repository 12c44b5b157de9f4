#pragma once
// The straightforward weld: every corner searches all mapping vertices made
// so far. Quadratic, kept as the reference the fast weld must agree with.

#include "model/model.h"

void WeldMapVerticesDirect(Model& model, int copyFromIndices);
