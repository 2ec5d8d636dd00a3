#pragma once

// The one QGuiApplication of a test program, made at the first call. Before it is made the
// session bus is pointed at a socket that does not exist, so that no test ever reaches a real
// file manager or waits for a bus that CI does not have.
namespace MGuiApplication {
void Ensure();
}
