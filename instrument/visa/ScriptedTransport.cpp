#include "instrument/visa/ScriptedTransport.h"

#include <algorithm>

ViStatus ScriptedTransport::Write(const uint8_t* data, size_t size, bool end, uint32_t, size_t* written)
{
    *written = 0;
    if (peer_->dropped)
        return visa::VI_ERROR_CONN_LOST;
    partial_.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    *written = size;
    if (end) {
        peer_->messages.append(partial_);
        if (peer_->respond) {
            QByteArray answer = peer_->respond(partial_);
            if (!answer.isEmpty())
                peer_->answers.push_back(std::move(answer));
        }
        partial_.clear();
    }
    return visa::VI_SUCCESS;
}

ViStatus ScriptedTransport::Read(uint8_t* data, size_t max, uint32_t, size_t* count, bool* end)
{
    *count = 0;
    *end = false;
    if (peer_->dropped)
        return visa::VI_ERROR_CONN_LOST;
    if (peer_->answers.empty())
        return visa::VI_ERROR_TMO;
    QByteArray& front = peer_->answers.front();
    const size_t take = std::min({max, peer_->chunk, static_cast<size_t>(front.size())});
    std::copy_n(front.constData(), take, data);
    front.remove(0, static_cast<qsizetype>(take));
    *count = take;
    ++peer_->reads;
    if (front.isEmpty()) {
        *end = !peer_->unterminated;
        peer_->answers.pop_front();
    }
    return visa::VI_SUCCESS;
}

void ScriptedTransport::DiscardInput()
{
    ++peer_->discards;
    peer_->answers.clear();
}

ViStatus ScriptedTransport::Clear(uint32_t)
{
    ++peer_->clears;
    DiscardInput();
    return peer_->dropped ? visa::VI_ERROR_CONN_LOST : visa::VI_SUCCESS;
}
