#include "rtfparse.h"

#include "textcodec.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// Groups nested deeper than this are read only to find where they end.
constexpr int MaxGroupDepth = 1000;
// A control word has at most this many letters that count; more are read and dropped.
constexpr int MaxControlWordLength = 32;
// The largest numeric parameter kept; larger ones are taken as this.
constexpr std::int64_t MaxParameter = 0x7FFFFFFF;
// Indents and spacing beyond 22 inches (in twips) are taken as 22 inches.
constexpr int MaxTwips = 31680;
// Tab stops a paragraph keeps; later ones are dropped.
constexpr std::size_t MaxTabStops = 64;

// The paragraph layout in effect: copied into each paragraph when it ends.
struct ParagraphLayout {
    RtfAlignment alignment = RtfAlignment::Left;
    double leftIndent = 0;
    double rightIndent = 0;
    double firstLineIndent = 0;
    double spaceBefore = 0;
    double spaceAfter = 0;
    std::vector<double> tabStops;
};

// What a group changes and what its end restores.
struct GroupState {
    RtfCharFormat format;
    ParagraphLayout layout;
    int unicodeSkip = 1;  // \ucN: fallback characters after each \uN
    bool skip = false;  // inside a destination whose text is not shown
};

// Windows-1252, byte by byte.
const std::array<char16_t, 256>& AnsiTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char, 256> bytes{};
        for (int b = 0; b < 256; ++b)
            bytes[static_cast<std::size_t>(b)] = static_cast<char>(b);
        const QString decoded = DecodeAnsi(bytes.data(), 256);
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] = decoded.at(b).unicode();
        return t;
    }();
    return table;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Destinations whose text is never shown.
bool IsSkippedDestination(QByteArrayView word)
{
    static constexpr const char* skipped[] = {
        "fonttbl",
        "colortbl",
        "stylesheet",
        "info",
        "pict",
        "listtable",
        "listoverridetable",
        "revtbl",
        "rsidtbl",
        "filetbl",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "footnote",
        "object",
        "fldinst",
        "themedata",
        "colorschememapping",
        "datastore",
        "latentstyles",
        "xmlnstbl",
        "generator",
        "nonshppict",
        "shppict",
    };
    return std::any_of(
        std::begin(skipped), std::end(skipped), [&](const char* name) { return word == QByteArrayView(name); });
}

double TwipsToPoints(std::int64_t twips)
{
    return static_cast<double>(std::clamp<std::int64_t>(twips, -MaxTwips, MaxTwips)) / 20.0;
}

// Replaces every surrogate code unit that is not part of a pair by U+FFFD.
void RepairSurrogates(QString& text)
{
    const qsizetype n = text.size();
    for (qsizetype k = 0; k < n; ++k) {
        const QChar c = text.at(k);
        if (c.isHighSurrogate() && k + 1 < n && text.at(k + 1).isLowSurrogate()) {
            ++k;
            continue;
        }
        if (c.isSurrogate())
            text[k] = QChar::ReplacementCharacter;
    }
}

class Parser {
public:
    explicit Parser(QByteArrayView rtf) : data_(rtf.data()), size_(rtf.size()) { }

    RtfDocument Run()
    {
        CheckHeader();
        while (pos_ < size_)
            Step();
        if (!stack_.empty() || excessDepth_ > 0)
            Problem(QStringLiteral("A group is not closed: a closing brace is missing"));
        if (!paragraph_.runs.empty())
            EndParagraph();
        return std::move(document_);
    }

private:
    void Problem(const QString& text)
    {
        if (!document_.problems.contains(text))
            document_.problems.append(text);
    }

    void CheckHeader()
    {
        qsizetype k = 0;
        while (k < size_ && (data_[k] == ' ' || data_[k] == '\t' || data_[k] == '\r' || data_[k] == '\n'))
            ++k;
        if (!QByteArrayView(data_ + k, size_ - k).startsWith("{\\rtf"))
            Problem(QStringLiteral("The text does not begin with {\\rtf"));
    }

    // Reads one item of the input: a brace, a control word or symbol, or a character.
    void Step()
    {
        const char c = data_[pos_];
        if (c == '{') {
            ++pos_;
            pendingSkip_ = 0;
            if (excessDepth_ > 0 || static_cast<int>(stack_.size()) >= MaxGroupDepth) {
                if (excessDepth_ == 0)
                    Problem(QStringLiteral("Groups are nested too deeply; the deepest ones are skipped"));
                ++excessDepth_;
            } else {
                stack_.push_back(state_);
            }
        } else if (c == '}') {
            ++pos_;
            pendingSkip_ = 0;
            if (excessDepth_ > 0) {
                --excessDepth_;
            } else if (stack_.empty()) {
                Problem(QStringLiteral("A closing brace has no opening brace"));
            } else {
                state_ = stack_.back();
                stack_.pop_back();
            }
        } else if (c == '\\') {
            ++pos_;
            Control();
        } else {
            ++pos_;
            if (c == '\r' || c == '\n')
                return;
            if (c == '\t')
                Character(u'\t');
            else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
                Character(AnsiTable()[static_cast<unsigned char>(c)]);
        }
    }

    bool Skipping() const { return excessDepth_ > 0 || state_.skip; }

    // A character of the text: a fallback of an earlier \uN, hidden, or shown.
    void Character(char16_t ch)
    {
        if (Skipping())
            return;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        Emit(ch);
    }

    void Emit(char16_t ch)
    {
        if (paragraph_.runs.empty() || paragraph_.runs.back().format != state_.format)
            paragraph_.runs.push_back(RtfRun{QString(), state_.format});
        paragraph_.runs.back().text.append(QChar(ch));
    }

    void EndParagraph()
    {
        const ParagraphLayout& l = state_.layout;
        paragraph_.alignment = l.alignment;
        paragraph_.leftIndent = l.leftIndent;
        paragraph_.rightIndent = l.rightIndent;
        paragraph_.firstLineIndent = l.firstLineIndent;
        paragraph_.spaceBefore = l.spaceBefore;
        paragraph_.spaceAfter = l.spaceAfter;
        paragraph_.tabStops = l.tabStops;
        paragraph_.markFormat = state_.format;
        for (RtfRun& run : paragraph_.runs)
            RepairSurrogates(run.text);
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RtfParagraph();
    }

    // After a backslash.
    void Control()
    {
        if (pos_ >= size_) {
            Problem(QStringLiteral("The text ends in a backslash"));
            return;
        }
        const char c = data_[pos_];
        if (IsLetter(c)) {
            ControlWord();
            return;
        }
        ++pos_;
        switch (c) {
        case '\'':
            HexEscape();
            break;
        case '\\':
        case '{':
        case '}':
            Character(static_cast<char16_t>(c));
            break;
        case '~':
            Character(u'\u00A0');
            break;
        case '-':
            Character(u'\u00AD');
            break;
        case '_':
            Character(u'\u2011');
            break;
        case '*':
            state_.skip = true;
            break;
        case '\r':
        case '\n':
            if (!Skipping())
                EndParagraph();
            break;
        case '\t':
            Character(u'\t');
            break;
        default:
            break;  // other control symbols carry nothing shown
        }
    }

    // \'hh: one byte in Windows-1252.
    void HexEscape()
    {
        const int high = pos_ < size_ ? HexValue(data_[pos_]) : -1;
        const int low = pos_ + 1 < size_ ? HexValue(data_[pos_ + 1]) : -1;
        if (high < 0 || low < 0) {
            Problem(QStringLiteral("A \\' escape is not followed by two hexadecimal digits"));
            if (high >= 0)
                ++pos_;
            return;
        }
        pos_ += 2;
        Character(AnsiTable()[static_cast<std::size_t>(high * 16 + low)]);
    }

    void ControlWord()
    {
        const qsizetype start = pos_;
        while (pos_ < size_ && IsLetter(data_[pos_]))
            ++pos_;
        const QByteArrayView word(data_ + start, std::min<qsizetype>(pos_ - start, MaxControlWordLength));
        bool hasParameter = false;
        bool negative = false;
        std::int64_t value = 0;
        if (pos_ + 1 < size_ && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < size_ && IsDigit(data_[pos_])) {
            hasParameter = true;
            value = std::min<std::int64_t>(value * 10 + (data_[pos_] - '0'), MaxParameter);
            ++pos_;
        }
        if (pos_ < size_ && data_[pos_] == ' ')
            ++pos_;  // the delimiter belongs to the control word
        Word(word, hasParameter, negative ? -value : value);
    }

    void Word(QByteArrayView word, bool hasParameter, std::int64_t parameter)
    {
        if (word == "bin") {
            // Binary data of that many bytes follows; it is never text.
            const std::int64_t length = hasParameter ? std::max<std::int64_t>(parameter, 0) : 0;
            if (length > size_ - pos_)
                Problem(QStringLiteral("Binary data runs past the end of the text"));
            pos_ += static_cast<qsizetype>(std::min<std::int64_t>(length, size_ - pos_));
            return;
        }
        if (Skipping())
            return;
        if (IsSkippedDestination(word)) {
            state_.skip = true;
            return;
        }
        const bool on = !hasParameter || parameter != 0;
        RtfCharFormat& f = state_.format;
        ParagraphLayout& l = state_.layout;
        if (word == "par" || word == "sect" || word == "page" || word == "row")
            EndParagraph();
        else if (word == "line")
            Character(u'\u2028');
        else if (word == "tab" || word == "cell")
            Character(u'\t');
        else if (word == "b")
            f.bold = on;
        else if (word == "i")
            f.italic = on;
        else if (word == "ul" || word == "uld" || word == "uldb" || word == "uldash" || word == "ulw" || word == "ulth")
            f.underline = on;
        else if (word == "ulnone")
            f.underline = false;
        else if (word == "fs")
            f.pointSize =
                static_cast<double>(hasParameter && parameter > 0 ? std::clamp<std::int64_t>(parameter, 2, 2000) : 24)
                / 2.0;
        else if (word == "plain")
            f = RtfCharFormat();
        else if (word == "pard")
            l = ParagraphLayout();
        else if (word == "ql")
            l.alignment = RtfAlignment::Left;
        else if (word == "qc")
            l.alignment = RtfAlignment::Center;
        else if (word == "qr")
            l.alignment = RtfAlignment::Right;
        else if (word == "qj")
            l.alignment = RtfAlignment::Justify;
        else if (word == "li")
            l.leftIndent = TwipsToPoints(parameter);
        else if (word == "ri")
            l.rightIndent = TwipsToPoints(parameter);
        else if (word == "fi")
            l.firstLineIndent = TwipsToPoints(parameter);
        else if (word == "sb")
            l.spaceBefore = TwipsToPoints(parameter);
        else if (word == "sa")
            l.spaceAfter = TwipsToPoints(parameter);
        else if (word == "tx") {
            if (l.tabStops.size() < MaxTabStops)
                l.tabStops.push_back(TwipsToPoints(parameter));
        } else if (word == "uc")
            state_.unicodeSkip = static_cast<int>(std::clamp<std::int64_t>(parameter, 0, 1000));
        else if (word == "u")
            Unicode(hasParameter, parameter);
        else if (word == "emdash")
            Character(u'\u2014');
        else if (word == "endash")
            Character(u'\u2013');
        else if (word == "bullet")
            Character(u'\u2022');
        else if (word == "lquote")
            Character(u'\u2018');
        else if (word == "rquote")
            Character(u'\u2019');
        else if (word == "ldblquote")
            Character(u'\u201C');
        else if (word == "rdblquote")
            Character(u'\u201D');
        else if (word == "emspace")
            Character(u'\u2003');
        else if (word == "enspace")
            Character(u'\u2002');
        // every other control word changes nothing that is shown
    }

    // \uN: one UTF-16 code unit, N signed 16-bit (negative N means N + 65536),
    // followed by \ucN fallback characters for readers that lack Unicode.
    void Unicode(bool hasParameter, std::int64_t parameter)
    {
        if (!hasParameter)
            return;
        std::int64_t unit = parameter < 0 ? parameter + 65536 : parameter;
        if (unit < 0 || unit > 0xFFFF)
            unit = 0xFFFD;
        pendingSkip_ = 0;
        Emit(static_cast<char16_t>(unit));
        pendingSkip_ = state_.unicodeSkip;
    }

    const char* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    GroupState state_;
    std::vector<GroupState> stack_;
    int excessDepth_ = 0;
    int pendingSkip_ = 0;  // fallback characters of the last \uN still to drop
    RtfParagraph paragraph_;
    RtfDocument document_;
};

}  // namespace

RtfDocument ParseRtf(QByteArrayView rtf)
{
    return Parser(rtf).Run();
}

QString RtfPlainText(const RtfDocument& document)
{
    QString text;
    for (const RtfParagraph& p : document.paragraphs) {
        for (const RtfRun& run : p.runs)
            text += run.text;
        text += u'\n';
    }
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}
