#ifndef ZENDRIK_MAIL_CURLTRANSFER_H
#define ZENDRIK_MAIL_CURLTRANSFER_H

#include <curl/curl.h>

#include <functional>

class EventPump;

// Runs one prepared curl easy handle to its end on the GUI thread. curl's multi interface tells
// which sockets it waits for and when its next time-out falls due; socket notifiers and a timer
// on the Qt event loop drive it, and the caller waits through the event pump, so windows keep
// working while the transfer is on its way. Returns curl's result for the handle, or
// CURLE_ABORTED_BY_CALLBACK when abandon, looked at after every wait, ended it.
CURLcode RunCurlTransfer(CURL* easy, EventPump& pump, const std::function<bool()>& abandon = {});

#endif
