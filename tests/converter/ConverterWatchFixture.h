// A progress dialog over a host window of the test's own, with the converter
// stand-in registered as the converter and its behaviour chosen through the
// environment (which the converter inherits).
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "hostutil/PluginGlobals.h"
#include "support/DialogWatcher.h"
#include "support/RegistryTestKeys.h"
#include "support/TempFolder.h"
#include "support/TestWindow.h"

class ConverterWatchTest : public RegistryTest {
protected:
    ConverterWatchTest();
    ~ConverterWatchTest() override;

    // The stand-in as the registered converter (its path, a blank, "%1" quoted).
    void RegisterStandIn();
    void RegisterCommand(const std::string& command);
    void SetVariable(const char* name, const std::string& value);

    // The stand-in's record of its last run: its command line and process id.
    std::string RecordedField(const char* field) const;

    // The module's message boxes seen so far (caption "Ombrix").
    std::vector<std::string> MessageTexts() const;
    bool TimerAlive() const;

    TestWindow host{100, 100, 800, 600, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, "Reference host"};
    PlatformData platform{};
    std::vector<char> recordBytes;
    AcquireRecord* record = nullptr;
    int16_t result = 0;
    PluginGlobals globals{};
    TempFolder scratch{"ombrix-watch"};
    std::string recordFile;
    std::string releaseFile;  // the stand-in exits once this file exists
    DialogWatcher watcher;

private:
    std::map<std::string, std::string> savedVariables_;
};
