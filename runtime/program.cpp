// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/program.h"

#include <QApplication>

#include "runtime/accessibility.h"
#include "runtime/error_report.h"
#include "runtime/events.h"

namespace korvane::runtime {

int Start(int& argc, char** argv, const ProjectDescription& project,
          const std::function<std::unique_ptr<Form>()>& loadStartupForm) {
    QApplication application(argc, argv);
    installAccessibleInterfaces();
    UseProject(project);

    std::unique_ptr<Form> form;
    Deliver([&] { form = loadStartupForm(); });
    if (!form)
        return 1;
    form->show();
    return QApplication::exec();
}

void UseProject(const ProjectDescription& project) {
    QCoreApplication::setApplicationName(project.title);
    QCoreApplication::setApplicationVersion(project.version);
    if (!project.desktopFileName.isEmpty())
        QGuiApplication::setDesktopFileName(project.desktopFileName);
}

void End() {
    MarkProgramEnded();
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

}  // namespace korvane::runtime
