#pragma once
// A persistent character source: a value that stands for one place in a text
// read piece by piece. Taking characters gives a new value and leaves the old
// one as it was, so going back is keeping an older value. Pieces are read on
// first use and shared; a piece is freed once no value before it is left.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace zil {

class InStream;

// One piece of the text as it was read.
class TextPiece : public std::enable_shared_from_this<TextPiece> {
public:
    // Gives the next piece of the text; "" at its end.
    using Feed = std::function<std::string()>;

    TextPiece(std::string text, long base, std::shared_ptr<Feed> feed)
        : text_(std::move(text)), base_(base), feed_(std::move(feed)) {}
    // Frees a long chain of pieces without recursing once per piece.
    ~TextPiece();
    TextPiece(const TextPiece&) = delete;
    TextPiece& operator=(const TextPiece&) = delete;

    const std::string& text() const { return text_; }
    // Number of characters of the text before this piece.
    long base() const { return base_; }
    // The piece after this one, read on first use; nullptr at the end.
    TextPiece* following() const;
    // The piece after this one if it has been read already, else nullptr.
    const TextPiece* readFollowing() const { return linked_ ? next_.get() : nullptr; }

private:
    std::string text_;
    long base_;
    // Reading the next piece is not a change of this one's text.
    mutable std::shared_ptr<Feed> feed_;  // dropped once the next piece is linked
    mutable std::shared_ptr<TextPiece> next_;
    mutable bool linked_ = false;
};

class CharSource {
public:
    using Feed = TextPiece::Feed;

    // A source at the start of the text that `feed` gives piece by piece.
    explicit CharSource(Feed feed);
    // A source over the unread bytes of `in`, one piece per buffer fill; a
    // failing read raises Io. `in` must outlive every value made from it.
    static CharSource over(InStream& in);
    // A source over a text held in memory, cut into pieces of `pieceSize`.
    static CharSource ofText(std::string_view text, std::size_t pieceSize = 4096);

    // Characters of the text before this place.
    long position() const { return piece_->base() + static_cast<long>(offset_); }
    // The rest of the piece this place lies in, without reading anything;
    // at the end of a piece, the next one when it has been read already.
    std::string_view heldPiece() const;
    // At most `count` characters (fewer only at the end of the text) and the
    // place after them.
    std::pair<std::string, CharSource> take(std::size_t count) const;

private:
    friend class CharCursor;
    CharSource(std::shared_ptr<TextPiece> piece, std::size_t offset) : piece_(std::move(piece)), offset_(offset) {}

    std::shared_ptr<TextPiece> piece_;
    std::size_t offset_;
};

// A light place in a text for scanning: no reference counting. It stays
// valid only while some CharSource at or before it is alive.
class CharCursor {
public:
    explicit CharCursor(const CharSource& source) : piece_(source.piece_.get()), offset_(source.offset_) {}

    // The next character (0..255), or -1 at the end of the text.
    int peek() const {
        if (offset_ < piece_->text().size()) return static_cast<unsigned char>(piece_->text()[offset_]);
        return peekNextPiece();
    }
    // Steps over the character peek() returned; only after one that was not -1.
    void advance() {
        if (offset_ < piece_->text().size()) {
            ++offset_;
            return;
        }
        skip(1);
    }
    // The characters that follow up to the end of their piece; empty only at
    // the end of the text.
    std::string_view run() const;
    // Steps over n > 0 characters of run().
    void skip(std::size_t n);

    long position() const { return piece_->base() + static_cast<long>(offset_); }
    // A persistent value at this place.
    CharSource source() const { return CharSource(piece_->shared_from_this(), offset_); }

private:
    int peekNextPiece() const;

    TextPiece* piece_;
    std::size_t offset_;
};

}  // namespace zil
