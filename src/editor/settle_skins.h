#pragma once
// What the skin bar does to the list whenever it is shown again: names and
// paths stored with backslashes, the linked skins before the external ones,
// and a current skin whenever there are skins. It is no undo step; the
// recovery journal notes it where it happened, since later steps expect it.

#include "model/model.h"

// True when it changed anything.
bool SettleSkins(Model& model);
