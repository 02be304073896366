// A program with nothing but the single-instance guard, for the tests that
// need two real processes: one_instance_probe NAME [ARGUMENT...]
// The running instance prints "running <pid>" and then, for every later
// instance, "arguments <n>" and each argument on its own line; it ends when
// standard input closes. A later instance that handed over ends with
// status 0 after printing "handed over".

#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/one_instance.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::vector<std::string> arguments(argv + 2, argv + argc);
  QApplication application(argc, argv);
  app::TOneInstance guard(QString::fromLocal8Bit(argv[1]));
  if (const char* wait = std::getenv("SALDEX_GUARD_WAIT_MS")) guard.set_wait_ms(std::atoi(wait));
  guard.OnInstanceStarted = [](const QStringList& list) {
    std::printf("arguments %lld\n", static_cast<long long>(list.size()));
    for (const QString& argument : list) std::printf("%s\n", argument.toLocal8Bit().constData());
    std::fflush(stdout);
  };
  guard.Start(arguments);
  if (guard.handed_over()) {
    std::printf("handed over\n");
    return 0;
  }
  std::printf("running %d\n", static_cast<int>(::getpid()));
  std::fflush(stdout);
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &application, [&] {
    char buffer[64];
    if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) QApplication::quit();
  });
  return QApplication::exec();
}
