/*
 * A reader of the parts of resource scripts that carry texts: a tokenizer for the
 * script syntax (comments, preprocessor lines, string literals with their escapes) and
 * parsers for STRINGTABLE blocks and DIALOG/DIALOGEX templates. Everything else at the top
 * level is stepped over, BEGIN/END blocks as a whole.
 */
#include "rc_texts.h"

#include <cctype>
#include <cstdlib>

namespace {

enum class TokenKind { Word, String, Punct, End };

struct Token {
    TokenKind Kind = TokenKind::End;
    std::string Text;
    int Line = 0;
};

bool IsWordChar(char c)
{
    return isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '.' || c == '#';
}

// ASCII comparison without regard to case, as the resource compiler reads keywords.
bool Same(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (toupper(static_cast<unsigned char>(a[i])) != toupper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == 0;
}

class Tokenizer {
public:
    explicit Tokenizer(const std::string& source) : Source(source) {}

    bool Tokenize(std::vector<Token>* tokens, std::string* error)
    {
        bool lineStart = true;
        while (Position < Source.size()) {
            char c = Source[Position];
            if (c == '\n') {
                ++Line;
                ++Position;
                lineStart = true;
                continue;
            }
            if (isspace(static_cast<unsigned char>(c))) {
                ++Position;
                continue;
            }
            if (c == '#' && lineStart) {   // preprocessor line, continuations included
                while (Position < Source.size() && Source[Position] != '\n') {
                    if (Source[Position] == '\\' && Position + 1 < Source.size() && Source[Position + 1] == '\n')
                        ++Line, ++Position;
                    ++Position;
                }
                continue;
            }
            lineStart = false;
            if (Source.compare(Position, 2, "//") == 0) {
                while (Position < Source.size() && Source[Position] != '\n')
                    ++Position;
                continue;
            }
            if (Source.compare(Position, 2, "/*") == 0) {
                size_t end = Source.find("*/", Position + 2);
                if (end == std::string::npos) {
                    *error = "unterminated comment at line " + std::to_string(Line);
                    return false;
                }
                for (size_t i = Position; i < end; ++i)
                    Line += Source[i] == '\n';
                Position = end + 2;
                continue;
            }
            if (c == 'L' && Position + 1 < Source.size() && Source[Position + 1] == '"')
                ++Position, c = '"';
            if (c == '"') {
                Token token;
                if (!ReadString(&token, error))
                    return false;
                // Adjacent literals are one text.
                if (!tokens->empty() && tokens->back().Kind == TokenKind::String)
                    tokens->back().Text += token.Text;
                else
                    tokens->push_back(token);
                continue;
            }
            Token token;
            token.Line = Line;
            if (IsWordChar(c)) {
                token.Kind = TokenKind::Word;
                while (Position < Source.size() && IsWordChar(Source[Position]))
                    token.Text += Source[Position++];
            } else {
                token.Kind = TokenKind::Punct;
                token.Text = std::string(1, c);
                ++Position;
            }
            tokens->push_back(token);
        }
        return true;
    }

private:
    bool ReadString(Token* token, std::string* error)
    {
        token->Kind = TokenKind::String;
        token->Line = Line;
        ++Position;
        for (;;) {
            if (Position >= Source.size() || Source[Position] == '\n') {
                *error = "unterminated string at line " + std::to_string(token->Line);
                return false;
            }
            char c = Source[Position++];
            if (c == '"') {
                if (Position < Source.size() && Source[Position] == '"') {   // "" stands for "
                    token->Text += '"';
                    ++Position;
                    continue;
                }
                return true;
            }
            if (c == '\\' && Position < Source.size()) {
                char e = Source[Position++];
                switch (e) {
                case 'n': token->Text += '\n'; break;
                case 'r': token->Text += '\r'; break;
                case 't': token->Text += '\t'; break;
                case 'a': token->Text += '\a'; break;
                case '\\': token->Text += '\\'; break;
                case '"': token->Text += '"'; break;
                default:
                    *error = "unsupported escape \\" + std::string(1, e) + " at line " + std::to_string(Line);
                    return false;
                }
                continue;
            }
            token->Text += c;
        }
    }

    const std::string& Source;
    size_t Position = 0;
    int Line = 1;
};

const char* const ControlKeywords[] = {
    "CONTROL", "LTEXT", "RTEXT", "CTEXT", "PUSHBUTTON", "DEFPUSHBUTTON", "PUSHBOX", "GROUPBOX",
    "CHECKBOX", "AUTOCHECKBOX", "RADIOBUTTON", "AUTORADIOBUTTON", "STATE3", "AUTO3STATE",
    "ICON", "EDITTEXT", "COMBOBOX", "LISTBOX", "SCROLLBAR", "BEDIT", "HEDIT", "IEDIT",
};

bool IsControlKeyword(const Token& token)
{
    if (token.Kind != TokenKind::Word)
        return false;
    for (const char* keyword : ControlKeywords)
        if (Same(token.Text, keyword))
            return true;
    return false;
}

bool IsBegin(const Token& t) { return (t.Kind == TokenKind::Word && Same(t.Text, "BEGIN")) || (t.Kind == TokenKind::Punct && t.Text == "{"); }
bool IsEnd(const Token& t) { return (t.Kind == TokenKind::Word && Same(t.Text, "END")) || (t.Kind == TokenKind::Punct && t.Text == "}"); }

class Parser {
public:
    Parser(const std::vector<Token>& tokens, const RcMacros& macros) : Tokens(tokens), Macros(macros) {}

    bool Parse(RcTexts* texts, std::string* error)
    {
        while (At < Tokens.size()) {
            const Token& token = Tokens[At];
            if (token.Kind == TokenKind::Word && Same(token.Text, "STRINGTABLE")) {
                if (!ParseStringTable(texts, error))
                    return false;
            } else if (At + 1 < Tokens.size() && Tokens[At + 1].Kind == TokenKind::Word &&
                       (Same(Tokens[At + 1].Text, "DIALOG") || Same(Tokens[At + 1].Text, "DIALOGEX")) &&
                       token.Kind != TokenKind::Punct) {
                if (!ParseDialog(texts, error))
                    return false;
            } else if (IsBegin(token)) {
                if (!SkipBlock(error))
                    return false;
            } else {
                ++At;
            }
        }
        return true;
    }

private:
    std::string Expand(const Token& token) const
    {
        if (token.Kind == TokenKind::Word) {
            auto found = Macros.find(token.Text);
            if (found != Macros.end())
                return found->second;
        }
        return token.Text;
    }

    bool Fail(std::string* error, const std::string& what) const
    {
        int line = At < Tokens.size() ? Tokens[At].Line : (Tokens.empty() ? 0 : Tokens.back().Line);
        *error = what + " at line " + std::to_string(line);
        return false;
    }

    bool SkipBlock(std::string* error)   // At is on BEGIN
    {
        int depth = 0;
        for (; At < Tokens.size(); ++At) {
            if (IsBegin(Tokens[At]))
                ++depth;
            else if (IsEnd(Tokens[At]) && --depth == 0) {
                ++At;
                return true;
            }
        }
        return Fail(error, "missing END");
    }

    // Moves At to the BEGIN that opens the statement's body.
    bool FindBody(std::string* error, const char* what, std::string* caption, bool* hasCaption)
    {
        for (; At < Tokens.size(); ++At) {
            if (IsBegin(Tokens[At])) {
                ++At;
                return true;
            }
            if (caption && Tokens[At].Kind == TokenKind::Word && Same(Tokens[At].Text, "CAPTION") &&
                At + 1 < Tokens.size() && Tokens[At + 1].Kind == TokenKind::String) {
                *caption = Tokens[At + 1].Text;
                *hasCaption = true;
            }
        }
        return Fail(error, std::string("missing BEGIN of ") + what);
    }

    bool ParseStringTable(RcTexts* texts, std::string* error)
    {
        ++At;
        if (!FindBody(error, "STRINGTABLE", nullptr, nullptr))
            return false;
        while (At < Tokens.size() && !IsEnd(Tokens[At])) {
            std::string idText = Expand(Tokens[At]);
            char* end = nullptr;
            long id = strtol(idText.c_str(), &end, 0);
            if (idText.empty() || *end != 0)
                return Fail(error, "string id \"" + Tokens[At].Text + "\" is not a number");
            ++At;
            if (At < Tokens.size() && Tokens[At].Kind == TokenKind::Punct && Tokens[At].Text == ",")
                ++At;
            if (At >= Tokens.size() || Tokens[At].Kind != TokenKind::String)
                return Fail(error, "string table entry " + idText + " has no text");
            texts->Strings.push_back({id, Tokens[At].Text});
            ++At;
        }
        if (At >= Tokens.size())
            return Fail(error, "missing END of STRINGTABLE");
        ++At;
        return true;
    }

    bool ParseDialog(RcTexts* texts, std::string* error)
    {
        RcDialog dialog;
        dialog.Name = Expand(Tokens[At]);
        At += 2;
        if (!FindBody(error, "a dialog template", &dialog.Caption, &dialog.HasCaption))
            return false;
        while (At < Tokens.size() && !IsEnd(Tokens[At])) {
            if (!IsControlKeyword(Tokens[At])) {
                ++At;
                continue;
            }
            bool icon = Same(Tokens[At].Text, "ICON");
            bool generic = Same(Tokens[At].Text, "CONTROL");
            ++At;
            std::string text;
            bool hasText = At < Tokens.size() && Tokens[At].Kind == TokenKind::String;
            if (hasText)
                text = Tokens[At].Text;
            // The rest of the statement, up to the next control or the end of the body.
            size_t next = At;
            while (next < Tokens.size() && !IsControlKeyword(Tokens[next]) && !IsEnd(Tokens[next])) {
                const std::string& word = Tokens[next].Text;
                if (generic && Tokens[next].Kind == TokenKind::Word && (Same(word, "SS_ICON") || Same(word, "SS_BITMAP")))
                    icon = true;
                ++next;
            }
            At = next;
            if (hasText && !icon && !text.empty())
                dialog.Texts.push_back(text);
        }
        if (At >= Tokens.size())
            return Fail(error, "missing END of dialog " + dialog.Name);
        ++At;
        texts->Dialogs.push_back(dialog);
        return true;
    }

    const std::vector<Token>& Tokens;
    const RcMacros& Macros;
    size_t At = 0;
};

}  // namespace

void ReadMacros(const std::string& source, RcMacros* macros)
{
    size_t at = 0;
    while (at < source.size()) {
        size_t end = source.find('\n', at);
        if (end == std::string::npos)
            end = source.size();
        std::string line = source.substr(at, end - at);
        at = end + 1;
        size_t p = line.find_first_not_of(" \t");
        if (p == std::string::npos || line.compare(p, 7, "#define") != 0)
            continue;
        p = line.find_first_not_of(" \t", p + 7);
        if (p == std::string::npos)
            continue;
        size_t nameEnd = line.find_first_of(" \t", p);
        if (nameEnd == std::string::npos)
            continue;
        std::string name = line.substr(p, nameEnd - p);
        size_t valueStart = line.find_first_not_of(" \t", nameEnd);
        if (valueStart == std::string::npos)
            continue;
        std::string value = line.substr(valueStart);
        size_t comment = value.find("/*");
        if (comment != std::string::npos)
            value = value.substr(0, comment);
        comment = value.find("//");
        if (comment != std::string::npos)
            value = value.substr(0, comment);
        while (!value.empty() && isspace(static_cast<unsigned char>(value.back())))
            value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        (*macros)[name] = value;
    }
}

bool ReadRcTexts(const std::string& source, const RcMacros& macros, RcTexts* texts, std::string* error)
{
    std::vector<Token> tokens;
    Tokenizer tokenizer(source);
    if (!tokenizer.Tokenize(&tokens, error))
        return false;
    Parser parser(tokens, macros);
    return parser.Parse(texts, error);
}
