#pragma once

#include <functional>
#include <string>

// Permission checks that root would pass through: as root (CI), the check runs in a child
// process that has dropped to the unprivileged user "nobody"; as any other user it runs in a
// child as that user. The child's world must be reachable by that user: call OpenToAll on the
// test's folders first.
namespace MUnprivileged {

// Runs fCheck in a forked child without root's rights and returns its result (the child's exit
// status), or -1 when the child could not drop its rights or ended abnormally. fCheck must not
// use the test framework's assertions: it returns 0 for success and another code for each
// failure it can tell.
int Run(const std::function<int()>& fCheck);

// Lets every user read, write and enter sPath and the folders below it.
void OpenToAll(const std::string& sPath);

} // namespace MUnprivileged
