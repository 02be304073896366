#ifndef SALDEX_APP_ONE_INSTANCE_H_
#define SALDEX_APP_ONE_INSTANCE_H_

#include <semaphore.h>

#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace app {

// The single-instance guard `TOneInstance`. Three named objects, all named
// after the program's file name (`name`):
//   - the POSIX shared memory block "/" + name (instance_block.h),
//   - the POSIX semaphore "/" + name + "Sem" (count 0 or 1) guarding it,
//   - the local socket name, on which the running instance listens for the
//     message 1324 ("read the block") in place of a hidden message window.
// Start() runs the protocol once: the first instance creates the block and
// becomes the running one; a later one hands its arguments over (at most 10,
// each cut to 300 bytes), tells the running instance, waits until that has
// read them, and reports handed_over(). Each wait on the semaphore lasts at
// most wait_ms (10 000); after a timeout, when the semaphore is missing, when
// the running instance's process is gone (a dead process id at offset 0) or
// its socket refuses the connection, the later instance takes over as the
// running one at once.
//
// The running instance, on message 1324, reads the arguments, restores and
// raises `window` (ShowOnNewInstance), calls OnInstanceStarted with them and
// releases the semaphore. On destruction it closes everything; the running
// instance also removes the block and the semaphore names, so that nothing
// is left behind by a normal end.
class TOneInstance : public QObject {
  Q_OBJECT

 public:
  // Raises std::logic_error "Drop only one of these components on your form
  // !" when another guard exists in the process.
  explicit TOneInstance(QString name, QObject* parent = nullptr);
  ~TOneInstance() override;

  // The running executable's file name.
  static QString ExecutableName();
  // The guard's name: the executable's file name and the user id, so each
  // user of a shared machine has one running copy of their own (the block,
  // semaphore and socket of another user are not theirs to open).
  static QString SessionName();

  // Raises std::runtime_error "Unable to create semaphore".
  void Start(const std::vector<std::string>& arguments);
  bool handed_over() const { return handed_over_; }
  bool running_instance() const { return running_; }

  bool ShowOnNewInstance = true;
  std::function<void(const QStringList&)> OnInstanceStarted;
  void set_window(QWidget* window) { window_ = window; }
  void set_wait_ms(int wait_ms) { wait_ms_ = wait_ms; }

  static constexpr int kNewInstanceMessage = 1324;  // WM_USER + 300

 private:
  std::string ShmName() const;
  std::string SemName() const;
  bool MapBlock(bool& created);
  void BecomeRunning();
  bool WaitSemaphore(sem_t* semaphore) const;
  bool PostNewInstanceMessage() const;
  void AcceptConnection();
  void NewInstanceStarted();
  void Release();

  QString name_;
  int wait_ms_ = 10000;
  int shm_fd_ = -1;
  uint8_t* block_ = nullptr;
  sem_t* semaphore_ = SEM_FAILED;
  QLocalServer* server_ = nullptr;
  QPointer<QWidget> window_;
  bool handed_over_ = false;
  bool running_ = false;
};

}  // namespace app

#endif  // SALDEX_APP_ONE_INSTANCE_H_
