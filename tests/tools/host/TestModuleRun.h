// Runs the test module through a reference host, configured by a
// "key=value;..." string (see testmodule/TestModule.cpp).
#pragma once

#include <string>

#include "host/ReferenceHost.h"
#include "support/TestSupport.h"

inline std::string TestModulePath()
{
    return BesideProgram("TestModule.8ba");
}

inline HostReport ImportWithTestModule(const std::string& config, HostOptions options = HostOptions())
{
    options.environment["OMBRIX_TEST_MODULE"] = config;
    ReferenceHost host(options);
    if (!host.Load(TestModulePath())) {
        HostReport failed;
        failed.problems.push_back(host.LoadError());
        return failed;
    }
    return host.Import();
}
