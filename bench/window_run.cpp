// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window_run.h"

namespace korvane::bench {
namespace {

struct ScenarioName {
    WindowScenario scenario;
    const char* name;
};

constexpr ScenarioName kScenarioNames[] = {
    {WindowScenario::Startup, "startup"},
    {WindowScenario::Keystroke, "keystroke"},
    {WindowScenario::Multiplier, "multiplier"},
    {WindowScenario::Scroll, "scroll"},
    {WindowScenario::Paste, "paste"},
    {WindowScenario::Memory, "memory"},
    {WindowScenario::Copy, "copy"},
    {WindowScenario::Undo, "undo"},
    {WindowScenario::ClipboardPaste, "clipboard-paste"},
    {WindowScenario::ClipboardPasteMultiplied, "clipboard-paste-multiplied"},
};

}  // namespace

QStringList toArguments(const WindowRun& run) {
    QString name;
    for (const ScenarioName& entry : kScenarioNames) {
        if (entry.scenario == run.scenario)
            name = QString::fromLatin1(entry.name);
    }
    return {QStringLiteral("--scenario"), name, QString::number(run.textLength),
            QString::number(run.lineLength), QString::number(run.repetitions)};
}

bool fromArguments(const QStringList& arguments, WindowRun* run) {
    if (arguments.size() != 5 || arguments[0] != QLatin1String("--scenario"))
        return false;
    bool known = false;
    for (const ScenarioName& entry : kScenarioNames) {
        if (arguments[1] == QLatin1String(entry.name)) {
            run->scenario = entry.scenario;
            known = true;
        }
    }
    bool numbers[3] = {};
    run->textLength = arguments[2].toLongLong(&numbers[0]);
    run->lineLength = arguments[3].toLongLong(&numbers[1]);
    run->repetitions = arguments[4].toInt(&numbers[2]);
    return known && numbers[0] && numbers[1] && numbers[2];
}

}  // namespace korvane::bench
