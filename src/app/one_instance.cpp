#include "app/one_instance.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QFileInfo>
#include <QLocalSocket>
#include <cerrno>
#include <ctime>
#include <stdexcept>

#include "app/instance_block.h"

namespace app {
namespace {

int g_guards = 0;

bool ProcessAlive(int32_t pid) {
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

TOneInstance::TOneInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
  if (g_guards > 0) throw std::logic_error("Drop only one of these components on your form !");
  ++g_guards;
}

TOneInstance::~TOneInstance() {
  Release();
  --g_guards;
}

QString TOneInstance::ExecutableName() {
  const QString path = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
  return QFileInfo(path.isEmpty() ? QCoreApplication::applicationFilePath() : path).fileName();
}

QString TOneInstance::SessionName() {
  return ExecutableName() + QLatin1Char('-') + QString::number(::geteuid());
}

std::string TOneInstance::ShmName() const {
  return "/" + name_.toStdString();
}

std::string TOneInstance::SemName() const {
  return "/" + name_.toStdString() + "Sem";
}

bool TOneInstance::MapBlock(bool& created) {
  shm_fd_ = ::shm_open(ShmName().c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  created = shm_fd_ >= 0;
  if (!created) shm_fd_ = ::shm_open(ShmName().c_str(), O_RDWR, 0600);
  if (shm_fd_ < 0) return false;
  struct stat info {};
  if (::fstat(shm_fd_, &info) != 0) return false;
  // A block of another size (or one its creator has not sized yet) is sized.
  if (static_cast<size_t>(info.st_size) < instance_block::kSize &&
      ::ftruncate(shm_fd_, instance_block::kSize) != 0) {
    return false;
  }
  void* mapped =
      ::mmap(nullptr, instance_block::kSize, PROT_READ | PROT_WRITE, MAP_SHARED, shm_fd_, 0);
  if (mapped == MAP_FAILED) return false;
  block_ = static_cast<uint8_t*>(mapped);
  return true;
}

void TOneInstance::Start(const std::vector<std::string>& arguments) {
  bool created = false;
  if (!MapBlock(created)) {
    // Without a block there is nobody to hand over to.
    Release();
    running_ = true;
    return;
  }
  if (created) return BecomeRunning();

  const int32_t owner = instance_block::ReadOwner(block_);
  if (owner > 0 && !ProcessAlive(owner)) return BecomeRunning();
  semaphore_ = ::sem_open(SemName().c_str(), 0);
  if (semaphore_ == SEM_FAILED || !WaitSemaphore(semaphore_)) return BecomeRunning();
  instance_block::WriteArguments(block_, arguments);
  if (!PostNewInstanceMessage() || !WaitSemaphore(semaphore_)) return BecomeRunning();
  ::sem_post(semaphore_);
  Release();
  handed_over_ = true;
}

void TOneInstance::BecomeRunning() {
  running_ = true;
  server_ = new QLocalServer(this);
  QLocalServer::removeServer(name_);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(name_);
  connect(server_, &QLocalServer::newConnection, this, &TOneInstance::AcceptConnection);

  if (semaphore_ != SEM_FAILED) {
    ::sem_close(semaphore_);
    semaphore_ = SEM_FAILED;
  }
  ::sem_unlink(SemName().c_str());
  semaphore_ = ::sem_open(SemName().c_str(), O_CREAT | O_EXCL, 0600, 0);
  if (semaphore_ == SEM_FAILED) throw std::runtime_error("Unable to create semaphore");
  if (block_) instance_block::WriteOwner(block_, static_cast<int32_t>(::getpid()));
  ::sem_post(semaphore_);
}

bool TOneInstance::WaitSemaphore(sem_t* semaphore) const {
  timespec deadline{};
  ::clock_gettime(CLOCK_REALTIME, &deadline);
  deadline.tv_sec += wait_ms_ / 1000;
  deadline.tv_nsec += static_cast<long>(wait_ms_ % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  while (::sem_timedwait(semaphore, &deadline) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

bool TOneInstance::PostNewInstanceMessage() const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(wait_ms_)) return false;
  QDataStream out(&socket);
  out << static_cast<qint32>(kNewInstanceMessage);
  const bool sent = socket.waitForBytesWritten(wait_ms_);
  socket.disconnectFromServer();
  return sent;
}

void TOneInstance::AcceptConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      while (socket->bytesAvailable() >= 4) {
        QDataStream in(socket);
        qint32 message = 0;
        in >> message;
        if (message == kNewInstanceMessage) NewInstanceStarted();
      }
    });
  }
}

void TOneInstance::NewInstanceStarted() {
  if (!block_) return;
  QStringList list;
  for (const std::string& argument : instance_block::ReadArguments(block_)) {
    list << QString::fromLocal8Bit(argument.data(), static_cast<qsizetype>(argument.size()));
  }
  if (ShowOnNewInstance && window_) {
    if (window_->isMinimized()) window_->showNormal();
    window_->raise();
    window_->activateWindow();
  }
  if (OnInstanceStarted) OnInstanceStarted(list);
  if (semaphore_ != SEM_FAILED) ::sem_post(semaphore_);
}

void TOneInstance::Release() {
  const bool owner = running_ && block_ && instance_block::ReadOwner(block_) == ::getpid();
  if (owner) {
    instance_block::WriteOwner(block_, 0);
    ::shm_unlink(ShmName().c_str());
    ::sem_unlink(SemName().c_str());
  }
  if (server_) {
    server_->close();
    delete server_;
    server_ = nullptr;
  }
  if (block_) ::munmap(block_, instance_block::kSize);
  block_ = nullptr;
  if (shm_fd_ >= 0) ::close(shm_fd_);
  shm_fd_ = -1;
  if (semaphore_ != SEM_FAILED) ::sem_close(semaphore_);
  semaphore_ = SEM_FAILED;
}

}  // namespace app
