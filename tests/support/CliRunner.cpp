#include "CliRunner.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#ifndef VELLORA_CLI_PATH
#define VELLORA_CLI_PATH "vellora-cli"
#endif

CliResult RunCli(const std::vector<std::string>& args, const CliOptions& options)
{
    QStringList list;
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : options.environment)
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    process.setProcessEnvironment(environment);
    if (options.childSetup)
        process.setChildProcessModifier(options.childSetup);
    process.start(QStringLiteral(VELLORA_CLI_PATH), list);
    CliResult result;
    if (!process.waitForFinished(120000))
        return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}
