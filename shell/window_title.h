// The main window's caption, the same in every build: the product and its author.
#pragma once

constexpr const char* MainWindowTitle = "Quorvanel - by Tamsin Verrow";
