#include "shell/app.h"

#include "model/companion.h"

App::App(Ui& u, Profile& p) : ui(u), profile(p) {}

App::~App() = default;
