#pragma once
// The network the UDP tests run on: a namespace of this test process's own, with only the
// loopback interface, up, and a route that sends the limited broadcast 255.255.255.255 to it.
// Programs started by the test inherit it, so nothing a test sends leaves the machine.
#include <gtest/gtest.h>

#include <string>

namespace vantrel::test {

// Enters the private network once per process. Empty on success, else why it could not.
std::string EnterPrivateNetwork();

// True when this process sees no network interface but the loopback.
bool OnlyLoopbackVisible();

} // namespace vantrel::test

// At the start of every test that sends UDP: skips it when no namespace can be made, and
// stops it when, against all expectation, a real interface is visible.
#define VANTREL_REQUIRE_PRIVATE_NETWORK()                                                          \
    do {                                                                                           \
        if (auto why = ::vantrel::test::EnterPrivateNetwork(); !why.empty())                       \
            GTEST_SKIP() << "no private network namespace, UDP test skipped: " << why;             \
        ASSERT_TRUE(::vantrel::test::OnlyLoopbackVisible())                                        \
            << "an interface other than the loopback is visible; refusing to send";                \
    } while (0)
