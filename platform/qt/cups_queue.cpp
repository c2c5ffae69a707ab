#include "cups_queue.h"

#include <cups/cups.h>
#include <dlfcn.h>
#include <sys/socket.h>

namespace morvane::platform {

namespace {

// The few functions of libcups the queue uses, looked up in the library
// when the first job is sent.
struct Cups {
    bool ok = false;
    decltype(&::cupsServer) server = nullptr;
    decltype(&::ippPort) port = nullptr;
    decltype(&::cupsEncryption) encryption = nullptr;
    decltype(&::httpConnect2) connect = nullptr;
    decltype(&::httpSetTimeout) setTimeout = nullptr;
    decltype(&::httpClose) close = nullptr;
    decltype(&::cupsGetNamedDest) namedDest = nullptr;
    decltype(&::cupsFreeDests) freeDests = nullptr;
    decltype(&::cupsCreateJob) createJob = nullptr;
    decltype(&::cupsStartDocument) startDocument = nullptr;
    decltype(&::cupsWriteRequestData) writeRequestData = nullptr;
    decltype(&::cupsFinishDocument) finishDocument = nullptr;
    decltype(&::cupsCancelJob2) cancelJob = nullptr;
};

template <typename F>
bool lookUp(void* library, const char* name, F& f) {
    f = reinterpret_cast<F>(dlsym(library, name));
    return f != nullptr;
}

const Cups& cups() {
    static const Cups c = [] {
        Cups k;
        void* l = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!l) return k;
        k.ok = lookUp(l, "cupsServer", k.server) && lookUp(l, "ippPort", k.port) &&
               lookUp(l, "cupsEncryption", k.encryption) && lookUp(l, "httpConnect2", k.connect) &&
               lookUp(l, "httpSetTimeout", k.setTimeout) && lookUp(l, "httpClose", k.close) &&
               lookUp(l, "cupsGetNamedDest", k.namedDest) && lookUp(l, "cupsFreeDests", k.freeDests) &&
               lookUp(l, "cupsCreateJob", k.createJob) && lookUp(l, "cupsStartDocument", k.startDocument) &&
               lookUp(l, "cupsWriteRequestData", k.writeRequestData) &&
               lookUp(l, "cupsFinishDocument", k.finishDocument) && lookUp(l, "cupsCancelJob2", k.cancelJob);
        return k;
    }();
    return c;
}

// What the connection's waits look at: libcups asks every tenth of a second
// whether to go on waiting for the scheduler.
struct Watch {
    const std::atomic<bool>* stop;
    const std::atomic<bool>* abandoned;
    CupsQueue::Clock::time_point deadline;
    bool alive() const { return !stop->load() && !abandoned->load() && CupsQueue::Clock::now() < deadline; }
};

int goOn(http_t*, void* watch) { return static_cast<const Watch*>(watch)->alive() ? 1 : 0; }

constexpr double kWaitStepS = 0.1;

}  // namespace

CupsQueue::~CupsQueue() {
    {
        std::lock_guard<std::mutex> lock(m_);
        stop_ = true;
        jobs_.clear();
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void CupsQueue::submit(Job job) {
    {
        std::lock_guard<std::mutex> lock(m_);
        jobs_.push_back(std::move(job));
        if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
    }
    cv_.notify_one();
}

void CupsQueue::run() {
    std::unique_lock<std::mutex> lock(m_);
    for (;;) {
        cv_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
        if (stop_) return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        const bool accepted = send(job);
        if (job.done) job.done(accepted);
        lock.lock();
    }
}

bool CupsQueue::send(Job& job) {
    const Cups& c = cups();
    if (!c.ok) return false;
    Watch watch{&stop_, job.abandoned.get(), job.deadline};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(job.deadline - Clock::now()).count();
    if (left <= 0 || !watch.alive()) return false;
    http_t* http =
        c.connect(c.server(), c.port(), nullptr, AF_UNSPEC, c.encryption(), 1, static_cast<int>(left), nullptr);
    if (!http) return false;
    struct Close {
        const Cups& c;
        http_t* http;
        ~Close() { c.close(http); }
    } closing{c, http};
    c.setTimeout(http, kWaitStepS, goOn, &watch);
    // The default destination, as lp finds it: the environment, the user's
    // and the system's lpoptions, else the scheduler's default.
    cups_dest_t* dest = c.namedDest(http, nullptr, nullptr);
    if (!dest) return false;
    const std::string name = dest->name;
    c.freeDests(1, dest);
    const int id = c.createJob(http, name.c_str(), job.title.c_str(), 0, nullptr);
    if (id <= 0) return false;  // refused (a queue that does not accept jobs), or no answer
    const bool accepted =
        c.startDocument(http, name.c_str(), id, job.title.c_str(), CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE &&
        c.writeRequestData(http, job.pdf.data(), job.pdf.size()) == HTTP_STATUS_CONTINUE &&
        c.finishDocument(http, name.c_str()) <= IPP_STATUS_OK_EVENTS_COMPLETE && watch.alive();
    if (!accepted) {
        // A job the window will not confirm must not print: it is cancelled,
        // with a little more time where the scheduler still answers.
        watch.deadline = Clock::now() + std::chrono::seconds(2);
        c.cancelJob(http, name.c_str(), id, 0);
    }
    return accepted;
}

}  // namespace morvane::platform
