// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/program.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "runtime/accessibility.h"
#include "runtime/command_line.h"
#include "runtime/error_report.h"
#include "runtime/events.h"

namespace korvane::runtime {

namespace {

// While the window system starts, Qt's messages are held back: if it cannot start, Qt ends the
// process with a fatal message, and the program says instead in one line that it has no display
// and exits with status 1. Once it has started, what was held back is written as Qt would.
class WindowSystemStart {
public:
    explicit WindowSystemStart(const char* argv0) {
        argv0_ = argv0;
        previous_ = qInstallMessageHandler(&hold);
    }
    ~WindowSystemStart() {
        qInstallMessageHandler(previous_);
        for (const QString& message : std::exchange(held(), {}))
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
    WindowSystemStart(const WindowSystemStart&) = delete;
    WindowSystemStart& operator=(const WindowSystemStart&) = delete;

private:
    static QStringList& held() {
        static QStringList messages;
        return messages;
    }
    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", noDisplayMessage(argv0_).toLocal8Bit().constData());
            std::fflush(stderr);
            std::_Exit(1);
        }
        held().append(qFormatLogMessage(type, context, message));
    }

    static inline const char* argv0_ = nullptr;
    QtMessageHandler previous_ = nullptr;
};

}  // namespace

int start(int& argc, char** argv, const ProjectDescription& project,
          const std::function<std::unique_ptr<Form>()>& loadStartupForm) {
    if (const std::optional<int> status = answerCommandLine(argc, argv, project))
        return *status;
    std::optional<WindowSystemStart> starting(std::in_place, argc > 0 ? argv[0] : nullptr);
    QApplication application(argc, argv);
    starting.reset();
    installAccessibleInterfaces();
    useProject(project);

    std::unique_ptr<Form> form;
    deliver([&] { form = loadStartupForm(); });
    if (!form)
        return 1;
    form->show();
    return QApplication::exec();
}

void useProject(const ProjectDescription& project) {
    QCoreApplication::setApplicationName(project.title);
    QCoreApplication::setApplicationVersion(project.version);
    if (!project.desktopFileName.isEmpty())
        QGuiApplication::setDesktopFileName(project.desktopFileName);
    setErrorExplanations(project.errorExplanations);
}

void end() {
    markProgramEnded();
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

}  // namespace korvane::runtime
