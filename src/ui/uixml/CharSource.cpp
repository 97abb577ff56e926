#include "ui/uixml/CharSource.hpp"

#include "shell/Errors.hpp"
#include "shell/InStream.hpp"

namespace zil {

TextPiece::~TextPiece() {
    std::shared_ptr<TextPiece> next = std::move(next_);
    while (next && next.use_count() == 1) {
        std::shared_ptr<TextPiece> after = std::move(next->next_);
        next = std::move(after);
    }
}

TextPiece* TextPiece::following() const {
    if (!linked_) {
        std::string text = (*feed_)();
        if (!text.empty()) {
            long base = base_ + static_cast<long>(text_.size());
            next_ = std::make_shared<TextPiece>(std::move(text), base, feed_);
        }
        linked_ = true;
        feed_.reset();
    }
    return next_.get();
}

CharSource::CharSource(Feed feed)
    : piece_(std::make_shared<TextPiece>(std::string(), 0L, std::make_shared<Feed>(std::move(feed)))), offset_(0) {}

CharSource CharSource::over(InStream& in) {
    return CharSource([&in]() -> std::string {
        try {
            in.refill();
        } catch (const SysErr& e) {
            throw Io(e.detail);
        }
        if (in.atEnd()) return {};
        std::string_view bytes = in.unread();
        std::string piece(bytes);
        in.consume(bytes.size());
        return piece;
    });
}

CharSource CharSource::ofText(std::string_view text, std::size_t pieceSize) {
    if (pieceSize == 0) pieceSize = 1;
    return CharSource([rest = std::string(text), at = std::size_t{0}, pieceSize]() mutable -> std::string {
        if (at >= rest.size()) return {};
        std::string piece = rest.substr(at, pieceSize);
        at += piece.size();
        return piece;
    });
}

std::pair<std::string, CharSource> CharSource::take(std::size_t count) const {
    std::string out;
    CharCursor at(*this);
    while (out.size() < count) {
        std::string_view r = at.run();
        if (r.empty()) break;
        std::size_t n = std::min(r.size(), count - out.size());
        out.append(r.substr(0, n));
        at.skip(n);
    }
    return {std::move(out), at.source()};
}

int CharCursor::peekNextPiece() const {
    std::string_view r = run();
    return r.empty() ? -1 : static_cast<unsigned char>(r[0]);
}

std::string_view CharCursor::run() const {
    const TextPiece* p = piece_;
    std::size_t off = offset_;
    while (off == p->text().size()) {
        p = p->following();
        if (p == nullptr) return {};
        off = 0;
    }
    return std::string_view(p->text()).substr(off);
}

void CharCursor::skip(std::size_t n) {
    while (offset_ == piece_->text().size()) {
        piece_ = piece_->following();
        offset_ = 0;
    }
    offset_ += n;
}

std::string_view CharSource::heldPiece() const {
    const TextPiece* p = piece_.get();
    std::size_t offset = offset_;
    while (offset >= p->text().size()) {
        p = p->readFollowing();
        if (!p) return {};
        offset = 0;
    }
    return std::string_view(p->text()).substr(offset);
}

}  // namespace zil
