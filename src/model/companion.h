#pragma once
// A second MD2 shown beside the model with its own skin and offset.

struct Companion {};
