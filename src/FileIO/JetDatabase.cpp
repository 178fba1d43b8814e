#include "FileIO/JetDatabase.h"

#include <cerrno>
#include <cstdio>
#include <cwctype>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "FileIO/JetTableReader.h"
#include "Platform/Utf.h"

namespace FileIO {

namespace {

std::chrono::milliseconds timeLimit{20000};

// What the child may send at most: far beyond any show or catalogue, small enough to hold.
constexpr std::size_t kMaxAnswer = std::size_t{512} << 20;

// ---- the query text -------------------------------------------------------------------

struct Query {
    std::wstring table;
    std::optional<std::wstring> orderBy;
    bool descending = false;
};

struct Token {
    enum Kind { WORD, NAME, STAR, SEMICOLON } kind;
    std::wstring text;
};

bool tokenize(const std::wstring& sql, std::vector<Token>& tokens)
{
    std::size_t i = 0;
    while (i < sql.size()) {
        const wchar_t c = sql[i];
        if (std::iswspace(static_cast<wint_t>(c))) {
            ++i;
        } else if (c == L'*') {
            tokens.push_back({Token::STAR, L"*"});
            ++i;
        } else if (c == L';') {
            tokens.push_back({Token::SEMICOLON, L";"});
            ++i;
        } else if (c == L'`' || c == L'[') {
            const wchar_t close = c == L'`' ? L'`' : L']';
            const std::size_t end = sql.find(close, i + 1);
            if (end == std::wstring::npos || end == i + 1) {
                return false;
            }
            tokens.push_back({Token::NAME, sql.substr(i + 1, end - i - 1)});
            i = end + 1;
        } else if (std::iswalnum(static_cast<wint_t>(c)) || c == L'_') {
            std::size_t end = i;
            while (end < sql.size() &&
                   (std::iswalnum(static_cast<wint_t>(sql[end])) || sql[end] == L'_')) {
                ++end;
            }
            tokens.push_back({Token::WORD, sql.substr(i, end - i)});
            i = end;
        } else {
            return false;
        }
    }
    return true;
}

bool isKeyword(const Token& token, const wchar_t* keyword)
{
    if (token.kind != Token::WORD) {
        return false;
    }
    std::wstring upper;
    for (wchar_t c : token.text) {
        upper.push_back(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))));
    }
    return upper == keyword;
}

// SELECT * FROM name [ORDER BY name [ASC|DESC]] [;]
std::optional<Query> parse(const std::wstring& sql)
{
    std::vector<Token> tokens;
    if (!tokenize(sql, tokens)) {
        return std::nullopt;
    }
    if (!tokens.empty() && tokens.back().kind == Token::SEMICOLON) {
        tokens.pop_back();
    }
    std::size_t at = 0;
    auto keyword = [&](const wchar_t* word) {
        if (at < tokens.size() && isKeyword(tokens[at], word)) {
            ++at;
            return true;
        }
        return false;
    };
    auto name = [&](std::wstring& out) {
        if (at < tokens.size() &&
            (tokens[at].kind == Token::NAME || tokens[at].kind == Token::WORD)) {
            out = tokens[at++].text;
            return true;
        }
        return false;
    };
    Query query;
    if (!keyword(L"SELECT") || at >= tokens.size() || tokens[at++].kind != Token::STAR ||
        !keyword(L"FROM") || !name(query.table)) {
        return std::nullopt;
    }
    if (keyword(L"ORDER")) {
        std::wstring column;
        if (!keyword(L"BY") || !name(column)) {
            return std::nullopt;
        }
        query.orderBy = column;
        if (keyword(L"DESC")) {
            query.descending = true;
        } else {
            keyword(L"ASC");
        }
    }
    if (at != tokens.size()) {
        return std::nullopt;
    }
    return query;
}

// ---- the child process ----------------------------------------------------------------

constexpr char kAnswerOk = 0;
constexpr char kAnswerError = 1;

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void runChild(int out, bool inMemory, const std::string& source,
                           const std::wstring& table)
{
    // libmdb reports on standard error what it cannot read; the answer says it instead.
    const int quiet = ::open("/dev/null", O_WRONLY);
    if (quiet >= 0) {
        ::dup2(quiet, STDERR_FILENO);
        ::dup2(quiet, STDOUT_FILENO);
    }
    JetRecordSet rows;
    std::string error;
    const bool ok = inMemory ? JetTableReader::readBytes(source, table, rows, error)
                             : JetTableReader::readFile(source, table, rows, error);
    std::string answer(1, ok ? kAnswerOk : kAnswerError);
    answer += ok ? rows.serialize() : error;
    // _exit: the parent's atexit handlers and buffers belong to the parent.
    ::_exit(writeAll(out, answer) ? 0 : 1);
}

}  // namespace

std::chrono::milliseconds JetDatabase::setTimeLimit(std::chrono::milliseconds limit)
{
    const std::chrono::milliseconds previous = timeLimit;
    timeLimit = limit;
    return previous;
}

bool JetDatabase::open(const std::wstring& path)
{
    close();
    path_ = Platform::toUtf8(path);
    FILE* file = std::fopen(path_.c_str(), "rb");
    if (file == nullptr) {
        return fail("the file cannot be opened for reading");
    }
    std::fclose(file);
    open_ = true;
    return true;
}

void JetDatabase::openBytes(std::string bytes)
{
    close();
    bytes_ = std::move(bytes);
    inMemory_ = true;
    open_ = true;
}

void JetDatabase::close()
{
    open_ = false;
    inMemory_ = false;
    path_.clear();
    bytes_.clear();
    error_.clear();
}

bool JetDatabase::fail(std::string error)
{
    error_ = std::move(error);
    return false;
}

bool JetDatabase::execute(const std::wstring& sql, JetRecordSet& result)
{
    result.clear();
    if (!open_) {
        return fail("no database is open");
    }
    const std::optional<Query> query = parse(sql);
    if (!query) {
        return fail("a query of another form than SELECT * FROM table ORDER BY column");
    }
    if (!readTable(query->table, result)) {
        return false;
    }
    if (query->orderBy) {
        const int column = result.findColumn(*query->orderBy);
        if (column < 0) {
            result.clear();
            return fail("no column " + Platform::toUtf8(*query->orderBy));
        }
        result.sortBy(column, query->descending);
    }
    return true;
}

bool JetDatabase::readTable(const std::wstring& table, JetRecordSet& result)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return fail("no pipe for the database reader");
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return fail("the database reader cannot be started");
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        runChild(pipeFds[1], inMemory_, inMemory_ ? bytes_ : path_, table);
    }
    ::close(pipeFds[1]);

    std::string answer;
    bool timedOut = false;
    bool tooLarge = false;
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd readable{pipeFds[0], POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        if (answer.size() + static_cast<std::size_t>(n) > kMaxAnswer) {
            tooLarge = true;
            break;
        }
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    if (timedOut || tooLarge) {
        ::kill(child, SIGKILL);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut) {
        return fail("the database reader ran out of time");
    }
    if (tooLarge) {
        return fail("the table is too large");
    }
    if (WIFSIGNALED(status)) {
        return fail("the database reader stopped with signal " + std::to_string(WTERMSIG(status)));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.empty()) {
        return fail("the database reader failed");
    }
    if (answer[0] == kAnswerError) {
        return fail(answer.substr(1));
    }
    if (answer[0] != kAnswerOk || !result.deserialize(std::string_view(answer).substr(1))) {
        return fail("the database reader gave a damaged answer");
    }
    return true;
}

}  // namespace FileIO
