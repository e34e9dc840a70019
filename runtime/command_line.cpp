// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/command_line.h"

#include <QFileInfo>
#include <cstdio>
#include <cstring>

namespace korvane::runtime {
namespace {

QString programName(const char* argv0) {
    const QString name = argv0 ? QFileInfo(QString::fromLocal8Bit(argv0)).fileName() : QString();
    return name.isEmpty() ? QStringLiteral("korvane") : name;
}

void print(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

QString environment(const char* name) {
    return qEnvironmentVariable(name);
}

}  // namespace

std::optional<int> answerCommandLine(int argc, char** argv, const ProjectDescription& project) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--") == 0)
            break;
        if (std::strcmp(argument, "--version") == 0) {
            print(QStringLiteral("%1 %2\n").arg(project.title, project.version));
            return 0;
        }
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            QString help = QStringLiteral("Usage: %1 [--help | --version] [Qt option]...\n")
                               .arg(programName(argv[0]));
            if (!project.summary.isEmpty())
                help += project.summary + QStringLiteral(".\n");
            help += QStringLiteral(
                "\n"
                "  -h, --help     show this help and exit\n"
                "      --version  show the version and exit\n"
                "\n"
                "Qt's own options, such as -platform NAME, apply as in every Qt program;\n"
                "QT_QPA_PLATFORM chooses the window system.\n");
            print(help);
            return 0;
        }
    }
    return std::nullopt;
}

QString noDisplayMessage(const char* argv0) {
    const QString platform = environment("QT_QPA_PLATFORM");
    const QString x11 = environment("DISPLAY");
    const QString wayland = environment("WAYLAND_DISPLAY");
    QString why;
    if (!platform.isEmpty())
        why = QStringLiteral("the window system \"%1\" named by QT_QPA_PLATFORM did not start")
                  .arg(platform);
    else if (x11.isEmpty() && wayland.isEmpty())
        why = QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
    else if (!x11.isEmpty())
        why = QStringLiteral("no X server answered at DISPLAY=%1").arg(x11);
    else
        why = QStringLiteral("no Wayland compositor answered at WAYLAND_DISPLAY=%1").arg(wayland);
    return QStringLiteral("%1: cannot open a display: %2").arg(programName(argv0), why);
}

}  // namespace korvane::runtime
