#include "mail/CurlTransfer.h"

#include "platform/system/EventPump.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/socket.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

// The safety net: even if a socket event were missed, curl looks at its timers this often, so
// its own time-outs always end the transfer.
constexpr uint32_t kNudgeMs = 1000;

class MultiDriver {
public:
    MultiDriver(CURL* easy, EventPump& pump, const std::function<bool()>& abandon)
        : easy_(easy)
        , pump_(pump)
        , abandon_(abandon)
        , multi_(curl_multi_init())
    {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Act(CURL_SOCKET_TIMEOUT, 0); });
    }

    ~MultiDriver()
    {
        // curl reports the sockets it closes through OnSocket, so the notifiers outlive the handle.
        if (multi_) {
            if (added_)
                curl_multi_remove_handle(multi_, easy_);
            curl_multi_cleanup(multi_);
        }
        timer_.stop();
        watches_.clear();
    }

    MultiDriver(const MultiDriver&) = delete;
    MultiDriver& operator=(const MultiDriver&) = delete;

    CURLcode Run()
    {
        if (!multi_)
            return CURLE_OUT_OF_MEMORY;
        curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &MultiDriver::OnSocket);
        curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
        curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &MultiDriver::OnTimer);
        curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
        const CURLMcode added = curl_multi_add_handle(multi_, easy_);
        if (added != CURLM_OK)
            return CURLE_FAILED_INIT;
        added_ = true;
        while (!done_) {
            pump_.WaitEvents(kNudgeMs);
            if (!done_ && abandon_ && abandon_())
                HangUp();
            if (!done_)
                Act(CURL_SOCKET_TIMEOUT, 0);
        }
        return abandoned_ && result_ != CURLE_OK ? CURLE_ABORTED_BY_CALLBACK : result_;
    }

private:
    struct Watch {
        std::unique_ptr<QSocketNotifier> read;
        std::unique_ptr<QSocketNotifier> write;
        bool open = false; // curl holds the socket (it has not said it is done with it)
    };

    static int OnSocket(CURL*, curl_socket_t socket, int what, void* self, void*)
    {
        static_cast<MultiDriver*>(self)->WatchSocket(socket, what);
        return 0;
    }

    static int OnTimer(CURLM*, long timeoutMs, void* self)
    {
        // curl must not be called back from here; the timer fires from the event loop.
        QTimer& timer = static_cast<MultiDriver*>(self)->timer_;
        if (timeoutMs < 0)
            timer.stop();
        else
            timer.start(static_cast<int>(std::min<long>(timeoutMs, 0x7fffffff)));
        return 0;
    }

    // Notifiers are only disabled, never deleted, while the transfer runs: curl may drop a socket
    // from inside the very notifier's signal, and a socket number curl reuses gets its old pair.
    void WatchSocket(curl_socket_t socket, int what)
    {
        Watch& w = watches_[socket];
        w.open = what != CURL_POLL_REMOVE;
        const bool wantRead = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
        const bool wantWrite = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
        if (wantRead && !w.read)
            w.read = MakeNotifier(socket, QSocketNotifier::Read, CURL_CSELECT_IN);
        if (wantWrite && !w.write)
            w.write = MakeNotifier(socket, QSocketNotifier::Write, CURL_CSELECT_OUT);
        if (w.read)
            w.read->setEnabled(wantRead);
        if (w.write)
            w.write->setEnabled(wantWrite);
    }

    // Taken out of curl's hands, a transfer would end with a QUIT or the end of the mail sent to
    // the server, and curl waits for their answer without the pump, as long as the server may
    // take. Shut under it, every read and write fails at once and curl ends on its own path. A
    // socket curl opens later (after a name lookup) is shut at the next wait; one it has given
    // back is not touched, as its number may belong to another connection by now.
    void HangUp()
    {
        abandoned_ = true;
        for (const auto& [socket, w] : watches_) {
            if (w.open)
                ::shutdown(socket, SHUT_RDWR);
        }
    }

    std::unique_ptr<QSocketNotifier> MakeNotifier(curl_socket_t socket, QSocketNotifier::Type type, int flags)
    {
        auto notifier = std::make_unique<QSocketNotifier>(static_cast<qintptr>(socket), type);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
            [this, socket, flags] { Act(socket, flags); });
        return notifier;
    }

    void Act(curl_socket_t socket, int flags)
    {
        if (done_)
            return;
        int running = 0;
        curl_multi_socket_action(multi_, socket, flags, &running);
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
                result_ = message->data.result;
                done_ = true;
            }
        }
        if (done_) {
            timer_.stop();
            for (auto& [s, w] : watches_) {
                if (w.read)
                    w.read->setEnabled(false);
                if (w.write)
                    w.write->setEnabled(false);
            }
            pump_.Wake();
        }
    }

    CURL* easy_;
    EventPump& pump_;
    const std::function<bool()>& abandon_;
    CURLM* multi_;
    bool added_ = false;
    bool done_ = false;
    bool abandoned_ = false;
    CURLcode result_ = CURLE_OK;
    QTimer timer_;
    std::map<curl_socket_t, Watch> watches_;
};

} // namespace

CURLcode RunCurlTransfer(CURL* easy, EventPump& pump, const std::function<bool()>& abandon)
{
    MultiDriver driver(easy, pump, abandon);
    return driver.Run();
}
