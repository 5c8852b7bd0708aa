#include "faulty_folder.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fuse.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// A flat folder in memory. Names and attributes are never cached by the
// kernel and files are opened for direct reads, so every read of a test
// reaches the server. Requests it has no use for are answered "not
// implemented", which the kernel takes as success where that is harmless.
struct FaultyFolder::Server {
  struct Node {
    QByteArray name, data;
    uint32_t mode = S_IFREG | 0644;
    qint64 readable = -1;
    bool linked = true;
  };

  QTemporaryDir mountPoint;
  QString why;
  bool mounted = false;
  int fuse = -1, stop[2] = {-1, -1};
  std::thread thread;
  mutable std::mutex lock;
  std::map<uint64_t, Node> nodes;
  uint64_t nextNode = FUSE_ROOT_ID + 1;
  bool interruptSync = false;

  uint64_t named(const QByteArray& name) const {
    for (const auto& [id, node] : nodes)
      if (node.linked && node.name == name) return id;
    return 0;
  }
  fuse_attr attrOf(uint64_t id) const {
    fuse_attr a{};
    a.ino = id;
    a.mode = S_IFDIR | 0755;
    a.nlink = 2;
    if (const auto it = nodes.find(id); it != nodes.end()) {
      a.mode = it->second.mode;
      a.nlink = it->second.linked ? 1 : 0;
      a.size = static_cast<uint64_t>(it->second.data.size());
    }
    return a;
  }
  template <typename T>
  static QByteArray raw(const T& value) {
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
  }
  QByteArray entry(uint64_t id) const {
    fuse_entry_out e{};
    e.nodeid = id;
    e.attr = attrOf(id);
    return raw(e);
  }
  static QByteArray opened(uint64_t id) {
    fuse_open_out o{};
    o.fh = id;
    o.open_flags = FOPEN_DIRECT_IO;
    return raw(o);
  }

  void reply(uint64_t unique, int error, const QByteArray& payload = {}) const {
    const QByteArray body = error ? QByteArray() : payload;
    fuse_out_header out{};
    out.unique = unique;
    out.error = error;
    out.len = static_cast<uint32_t>(sizeof out + body.size());
    const QByteArray message = raw(out) + body;
    (void)!::write(fuse, message.constData(), message.size());
  }
  void handle(const fuse_in_header& in, const char* arg);
  void serve();
};

void FaultyFolder::Server::handle(const fuse_in_header& in, const char* arg) {
  std::lock_guard<std::mutex> guard(lock);
  const auto argument = [arg](auto& into) { std::memcpy(&into, arg, sizeof into); };
  const auto found = nodes.find(in.nodeid);
  Node* node = found == nodes.end() ? nullptr : &found->second;
  switch (in.opcode) {
    case FUSE_INIT: {
      fuse_init_in init{};
      std::memcpy(&init, arg, 16);  // the fields every kernel sends
      fuse_init_out out{};
      out.major = FUSE_KERNEL_VERSION;
      out.minor = std::min<uint32_t>(init.minor, FUSE_KERNEL_MINOR_VERSION);
      out.max_readahead = init.max_readahead;
      out.max_write = 128 * 1024;
      return reply(in.unique, 0, raw(out));
    }
    case FUSE_LOOKUP: {
      const uint64_t id = named(QByteArray(arg));
      return id ? reply(in.unique, 0, entry(id)) : reply(in.unique, -ENOENT);
    }
    case FUSE_SETATTR: {
      fuse_setattr_in set{};
      argument(set);
      if (node && (set.valid & FATTR_SIZE)) node->data.resize(static_cast<qsizetype>(set.size), '\0');
      if (node && (set.valid & FATTR_MODE)) node->mode = S_IFREG | (set.mode & 07777);
      [[fallthrough]];
    }
    case FUSE_GETATTR: {
      fuse_attr_out out{};
      out.attr = attrOf(in.nodeid);
      return reply(in.unique, 0, raw(out));
    }
    case FUSE_OPEN:
      return node ? reply(in.unique, 0, opened(in.nodeid)) : reply(in.unique, -ENOENT);
    case FUSE_CREATE: {
      fuse_create_in create{};
      argument(create);
      const QByteArray name(arg + sizeof create);
      uint64_t id = named(name);
      if (!id) {
        id = nextNode++;
        nodes[id] = Node{name, {}, S_IFREG | (create.mode & 07777 & ~create.umask)};
      }
      return reply(in.unique, 0, entry(id) + opened(id));
    }
    case FUSE_READ: {
      fuse_read_in read{};
      argument(read);
      if (!node) return reply(in.unique, -EBADF);
      const qint64 start = static_cast<qint64>(read.offset);
      if (node->readable >= 0 && start >= node->readable) return reply(in.unique, -EIO);
      qint64 end = start + read.size;
      if (node->readable >= 0) end = std::min(end, node->readable);
      return reply(in.unique, 0, node->data.mid(start, std::max<qint64>(0, end - start)));
    }
    case FUSE_WRITE: {
      fuse_write_in write{};
      argument(write);
      if (!node) return reply(in.unique, -EBADF);
      const qsizetype start = static_cast<qsizetype>(write.offset);
      if (node->data.size() < start + write.size) node->data.resize(start + write.size, '\0');
      std::memcpy(node->data.data() + start, arg + sizeof write, write.size);
      fuse_write_out out{};
      out.size = write.size;
      return reply(in.unique, 0, raw(out));
    }
    case FUSE_FSYNC:
      return reply(in.unique, std::exchange(interruptSync, false) ? -EINTR : 0);
    case FUSE_RENAME: {
      const QByteArray from(arg + sizeof(fuse_rename_in));
      const QByteArray to(arg + sizeof(fuse_rename_in) + from.size() + 1);
      const uint64_t moved = named(from), replaced = named(to);
      if (!moved) return reply(in.unique, -ENOENT);
      if (replaced && replaced != moved) nodes[replaced].linked = false;
      nodes[moved].name = to;
      return reply(in.unique, 0);
    }
    case FUSE_UNLINK: {
      const uint64_t gone = named(QByteArray(arg));
      if (gone) nodes[gone].linked = false;
      return reply(in.unique, gone ? 0 : -ENOENT);
    }
    case FUSE_FORGET:
    case FUSE_BATCH_FORGET:
    case FUSE_INTERRUPT:
      return;  // no answer is awaited
    default:
      return reply(in.unique, -ENOSYS);
  }
}

void FaultyFolder::Server::serve() {
  std::vector<char> buffer(FUSE_MIN_READ_BUFFER + 256 * 1024);
  for (;;) {
    pollfd fds[2] = {{fuse, POLLIN, 0}, {stop[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents) return;
    const ssize_t n = ::read(fuse, buffer.data(), buffer.size());
    if (n < 0 && errno == ENODEV) return;  // unmounted
    if (n < static_cast<ssize_t>(sizeof(fuse_in_header))) continue;
    fuse_in_header in;
    std::memcpy(&in, buffer.data(), sizeof in);
    handle(in, buffer.data() + sizeof in);
  }
}

FaultyFolder::FaultyFolder() : server_(std::make_unique<Server>()) {
  Server& s = *server_;
  if (::geteuid() != 0) {
    s.why = QStringLiteral("mounting a FUSE folder needs root");
    return;
  }
  s.fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
  if (s.fuse < 0 || ::pipe2(s.stop, O_CLOEXEC) != 0) {
    s.why = QStringLiteral("no /dev/fuse: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    return;
  }
  // In a mount namespace of its own where the system allows it, so a test
  // that dies leaves no dead mount for the other processes of the machine.
  if (::unshare(CLONE_NEWNS) == 0) ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
  const QByteArray options = QStringLiteral("fd=%1,rootmode=40000,user_id=0,group_id=0").arg(s.fuse).toLatin1();
  if (::mount("trevast-faults", QFile::encodeName(s.mountPoint.path()).constData(), "fuse.trevast-faults",
              MS_NOSUID | MS_NODEV, options.constData()) != 0) {
    s.why = QStringLiteral("the FUSE mount is refused: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    return;
  }
  s.mounted = true;
  s.thread = std::thread([&s] { s.serve(); });
}

FaultyFolder::~FaultyFolder() {
  Server& s = *server_;
  if (s.mounted) ::umount2(QFile::encodeName(s.mountPoint.path()).constData(), MNT_DETACH);
  if (s.thread.joinable()) {
    (void)!::write(s.stop[1], "", 1);
    s.thread.join();
  }
  for (int fd : {s.fuse, s.stop[0], s.stop[1]})
    if (fd >= 0) ::close(fd);
}

bool FaultyFolder::mounted() const { return server_->mounted; }
QString FaultyFolder::whyNot() const { return server_->why; }
QString FaultyFolder::path() const { return server_->mountPoint.path(); }

void FaultyFolder::put(const QString& name, const QByteArray& bytes, qint64 readableBytes) {
  std::lock_guard<std::mutex> guard(server_->lock);
  uint64_t id = server_->named(QFile::encodeName(name));
  if (!id) id = server_->nextNode++;
  server_->nodes[id] = Server::Node{QFile::encodeName(name), bytes, S_IFREG | 0644, readableBytes};
}

QByteArray FaultyFolder::bytes(const QString& name) const {
  std::lock_guard<std::mutex> guard(server_->lock);
  const uint64_t id = server_->named(QFile::encodeName(name));
  return id ? server_->nodes.at(id).data : QByteArray();
}

QStringList FaultyFolder::names() const {
  std::lock_guard<std::mutex> guard(server_->lock);
  QStringList names;
  for (const auto& [id, node] : server_->nodes)
    if (node.linked) names << QFile::decodeName(node.name);
  names.sort();
  return names;
}

void FaultyFolder::interruptNextSync() {
  std::lock_guard<std::mutex> guard(server_->lock);
  server_->interruptSync = true;
}
