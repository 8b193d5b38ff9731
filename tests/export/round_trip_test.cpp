#include "export/export_fixture.h"
#include "export/registry_snapshot.h"

#include "platform/wide_text.h"

#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <map>
#include <set>
#include <random>

// Values written into the registry, found by the search, exported through
// the Export Changes command, and imported by the system's registry editor:
// the change file must change exactly the checked values that a file can
// hold, and the backup file must bring everything back as it was.

namespace {

const char kFind[] = "C:\\Old";
const char kReplace[] = "D:\\N\xe9u St\xe4tte";
const wchar_t kFindWide[] = L"C:\\Old";
const wchar_t kReplaceWide[] = L"D:\\N\u00e9u St\u00e4tte";

wchar_t AsciiUpper(wchar_t ch) {
    return ch >= L'a' && ch <= L'z' ? static_cast<wchar_t>(ch - L'a' + L'A') : ch;
}

// The position of the find text in the text, case ignored, from nFrom on.
size_t FindText(const std::wstring& text, size_t nFrom) {
    const std::wstring find = kFindWide;
    for (size_t i = nFrom; i + find.size() <= text.size(); ++i) {
        size_t n = 0;
        while (n < find.size() && AsciiUpper(text[i + n]) == AsciiUpper(find[n]))
            ++n;
        if (n == find.size())
            return i;
    }
    return std::wstring::npos;
}

// The text with every occurrence of the find text replaced, left to right.
std::wstring ReplaceText(const std::wstring& text) {
    std::wstring result;
    size_t p = 0;
    for (size_t nAt; (nAt = FindText(text, p)) != std::wstring::npos;
         p = nAt + std::wcslen(kFindWide))
        result += text.substr(p, nAt - p) + kReplaceWide;
    return result + text.substr(p);
}

// The text up to its first NUL, as a search sees a value's data.
std::wstring TextPart(const std::wstring& data) {
    return data.substr(0, data.find(L'\0'));
}

bool HasOutsideCodePage(const std::wstring& text) {
    std::string strAnsi;
    return !WideToAnsi(text, strAnsi);
}

bool HasLineBreak(const std::wstring& text) {
    return text.find_first_of(L"\r\n") != std::wstring::npos;
}

std::string RegistryKeyName(const CTestKey& key) {
    return "HKEY_CURRENT_USER" + key.KeyPath();
}

} // namespace

class RoundTrip : public ExportTest {
protected:
    // Writes a value whose data is the text as it stands (NULs included),
    // followed by a NUL.
    void Write(const std::wstring& subKey, const std::wstring& name, const std::wstring& data,
               DWORD nType = REG_SZ) {
        m_key.SetValue(subKey.empty() ? L"" : subKey.substr(1), name, nType, data.c_str(),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }

    // Unchecks the rows of the values named so, as the user clicks them off.
    void Uncheck(const std::string& strSubKey, const std::string& strName) {
        const std::vector<ResultRow> rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].strKeyPath == m_key.KeyPath() + strSubKey &&
                rows[i].strValueName == strName)
                m_pFrame->m_wndView.SetRowCheck(static_cast<int>(i), 0);
    }

    // The export with the import answered Yes: the program runs the
    // registry editor on the change file.
    void ExportAndImport() {
        const std::vector<std::string> seen = Export(IDYES);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), kImportQuestion);
        for (const std::string& strSeen : seen) {
            EXPECT_EQ(strSeen.find("Cannot Properly Write"), std::string::npos) << strSeen;
            EXPECT_NE(strSeen, kCannotRunEditor);
        }
    }

    void ExpectRegistry(const RegistrySnapshot& expected) {
        const std::vector<std::string> differences =
            Differences(TakeSnapshot(m_key.Handle()), expected);
        for (const std::string& strDifference : differences)
            ADD_FAILURE() << strDifference;
    }

    std::wstring RegeditExport() {
        return ExportWithRegedit(RegistryKeyName(m_key), m_folder.File("Export.reg"));
    }
};

namespace {

enum Outcome { kReplaced, kUnchanged };

struct HostileValue {
    std::wstring subKey; // "" or starting with a backslash
    std::wstring name;
    std::wstring data;
    Outcome outcome;
    DWORD nType = REG_SZ;
};

} // namespace

TEST_F(RoundTrip, HostileValuesChangeAsCheckedAndTheBackupRestoresThemExactly) {
    ASSERT_EQ(GetACP(), 1252u) << "the test process must run under code page 1252";
    using namespace std::string_literals;
    std::wstring longData;
    while (longData.size() < 12000)
        longData += L"c:\\old\\\"quoted\\\" C:\\OLD;";
    std::wstring longLines;
    while (longLines.size() < 3000)
        longLines += L"line \"one\" C:\\Old\\\r\nline \u00e9two\nthree\r";
    const std::wstring deep = L"\\Deep\\Level 2\\Niv\u00e9au 3\\4\\5\\6\\7\\8\\9\\10";
    const HostileValue values[] = {
        {L"", L"", L"c:\\old", kReplaced},
        {L"", L"(Default)", L"C:\\OLD\\a real value named (Default)", kReplaced},
        {L"", L"@", L"@=C:\\Old", kReplaced},
        {L"", L"Quote\"Name\"", L"say \"C:\\Old\"", kReplaced},
        {L"", L"Back\\Slash\\", L"C:\\Old\\", kReplaced},
        {L"", L"Slash\\\"Quote", L"C:\\Old\\\"x\\\\\"", kReplaced},
        {L"", L"\\\\unc", L"\\\\server\\C:\\Old\\share\\", kReplaced},
        {L"", L"CrLf", L"C:\\Old\r\nline two\r\n", kReplaced},
        {L"", L"Lf", L"\nc:\\old", kReplaced},
        {L"", L"Cr", L"C:\\Old\rcarriage return", kReplaced},
        {L"", L"Caf\u00e9 \u00c9t\u00e9",
         L"C:\\Old\\Caf\u00e9\\\u00c0 jour \u00ff\u20ac gar\u00e7on", kReplaced},
        {L"", L"Accents and breaks", L"\u00c7a\r\nC:\\Old\\\u00e9\u00df", kReplaced},
        {L"", L"= ; [x] #", L"[HKEY_CURRENT_USER\\Not A Key] C:\\Old", kReplaced},
        {L"", L"Many", L"c:\\old;C:\\OLD;C:\\Old\\;C:\\Older", kReplaced},
        {L"", L"Long", longData, kReplaced},
        {L"", L"Long lines", longLines, kReplaced},
        {L"", L"Unchecked", L"C:\\Old\\left as it is", kUnchanged},
        {L"", L"Outside data", L"C:\\Old \u4e2d\u6587", kUnchanged},
        {L"", L"Outside name \u0100", L"C:\\Old", kUnchanged},
        {L"", L"After NUL", L"C:\\Old\0tail"s, kUnchanged},
        {L"", L"Line\nName", L"C:\\Old", kUnchanged},
        {L"", L"Not found", L"C:\\Other", kUnchanged},
        {L"", L"Expandable", L"C:\\Old", kUnchanged, REG_EXPAND_SZ},
        {L"", L"Empty", L"", kUnchanged},
        {deep, L"", L"C:\\Old\\deep", kReplaced},
        {deep, L"Deep too", L"C:\\Old", kReplaced},
        {L"\\(Default)", L"(default)", L"C:\\Old", kReplaced},
        {L"\\Key]Bracket", L"V", L"C:\\Old\\k", kReplaced},
        {L"\\[Bracketed]", L"V", L"C:\\Old\\b", kReplaced},
        {L"\\ Spaced ", L" V ", L" C:\\Old ", kReplaced},
        {L"\\Quote\"Key", L"V", L"C:\\Old\\q", kReplaced},
        {L"\\=;#@", L"V", L"C:\\Old", kReplaced},
        {L"\\Caf\u00e9 \u20ac", L"V", L"C:\\Old\\c", kReplaced},
        {L"\\Key \u0101", L"V", L"C:\\Old", kUnchanged},
        {L"\\Line\nKey", L"V", L"C:\\Old", kUnchanged},
        {L"\\Untouched", L"Other", L"nothing to find", kUnchanged},
    };
    for (const HostileValue& v : values)
        Write(v.subKey, v.name, v.data, v.nType);

    const RegistrySnapshot before = TakeSnapshot(m_key.Handle());
    RegistrySnapshot expected = before;
    for (const HostileValue& v : values)
        if (v.outcome == kReplaced)
            expected.values[{v.subKey, v.name}] = TextValue(ReplaceText(v.data));
    // The registry editor's own export of the test key: checked to be usable.
    const std::wstring exportBefore = RegeditExport();
    ASSERT_NE(exportBefore.find(L"[" + AnsiToWide(RegistryKeyName(m_key)) + L"]"),
              std::wstring::npos)
        << "the registry editor's export is unusable";

    Search(kFind, kReplace);
    Uncheck("", "Unchecked");
    ASSERT_NO_FATAL_FAILURE(ExportAndImport());
    {
        SCOPED_TRACE("after the import of the change file");
        ExpectRegistry(expected);
    }
    const std::wstring exportChanged = RegeditExport();

    ASSERT_NO_FATAL_FAILURE(ImportSilently(Backup()));
    {
        SCOPED_TRACE("after the import of the backup file");
        ExpectRegistry(before);
        EXPECT_TRUE(exportBefore == RegeditExport())
            << LineDifferences(RegeditExport(), exportBefore);
    }

    // The expected state written with the registry API gives the same
    // export as the imported change file did.
    ASSERT_NO_FATAL_FAILURE(WriteSnapshot(m_key.Handle(), expected));
    EXPECT_TRUE(exportChanged == RegeditExport())
        << LineDifferences(exportChanged, RegeditExport());
}

namespace {

// One generated value and what the export must do with it.
struct RandomValue {
    std::wstring subKey;
    std::wstring name;
    std::wstring data;
    bool bChecked = true;

    bool Found() const { return FindText(TextPart(data), 0) != std::wstring::npos; }
    bool DataGoesOnAfterNul() const {
        const size_t nNul = data.find(L'\0');
        return nNul != std::wstring::npos && data.find_first_not_of(L'\0', nNul) != data.npos;
    }
    bool Exported() const {
        return Found() && bChecked && !DataGoesOnAfterNul() && !HasOutsideCodePage(subKey) &&
               !HasOutsideCodePage(name) && !HasOutsideCodePage(TextPart(data)) &&
               !HasLineBreak(subKey) && !HasLineBreak(name);
    }
    std::string Describe() const {
        return "key [" + Printable(subKey) + "] name \"" + Printable(name) + "\" data \"" +
               Printable(data) + "\"" + (bChecked ? "" : ", unchecked") +
               (Exported() ? ", exported" : ", left out");
    }
};

class CValueMaker {
public:
    explicit CValueMaker(unsigned nStart) : m_random(nStart) {}

    // A text drawn mostly from the characters that a registry file must
    // escape or encode, with now and then one that the code page lacks.
    std::wstring Text(size_t nMaxLength) {
        static const wchar_t kHostile[] = L"\"\\\r\n@[]= ;#%aZ0\u00e9\u00c0\u00ff\u20ac\u00df";
        static const wchar_t kOutside[] = L"\u0100\u4e2d";
        std::wstring text;
        for (size_t n = Below(nMaxLength + 1); n > 0; --n)
            text += Below(200) == 0 ? kOutside[Below(2)] : kHostile[Below(std::wcslen(kHostile))];
        return text;
    }

    // The find text in a case of its own.
    std::wstring FindTextInSomeCase() {
        std::wstring text = kFindWide;
        for (wchar_t& ch : text)
            if (Below(2))
                ch = static_cast<wchar_t>(std::towlower(ch));
            else
                ch = AsciiUpper(ch);
        return text;
    }

    std::wstring Data() {
        const size_t nPieceLength = Below(30) == 0 ? 600 : 12;
        std::wstring data = Text(nPieceLength);
        const size_t nOccurrences = Below(10) == 0 ? 0 : 1 + Below(3);
        for (size_t i = 0; i < nOccurrences; ++i)
            data += FindTextInSomeCase() + Text(nPieceLength);
        if (Below(25) == 0) // a NUL with more text after it
            data.insert(Below(data.size() + 1), std::wstring(1, L'\0') + L"x" + Text(4));
        return data;
    }

    size_t Below(size_t nLimit) {
        return std::uniform_int_distribution<size_t>(0, nLimit - 1)(m_random);
    }

private:
    std::mt19937 m_random;
};

// The start value of the generated values; QUILLON_ROUND_TRIP_START replays
// another run.
unsigned RandomStart() {
    if (const char* pszStart = std::getenv("QUILLON_ROUND_TRIP_START"))
        return static_cast<unsigned>(std::strtoul(pszStart, nullptr, 10));
    return 20240611u;
}

} // namespace

TEST_F(RoundTrip, GeneratedValuesChangeExactlyAsExpected) {
    ASSERT_EQ(GetACP(), 1252u) << "the test process must run under code page 1252";
    const unsigned nStart = RandomStart();
    std::printf("Generated values from start value %u (QUILLON_ROUND_TRIP_START=%u replays "
                "them)\n",
                nStart, nStart);
    SCOPED_TRACE("start value " + std::to_string(nStart));
    static const std::wstring kSubKeys[] = {
        L"",           L"\\Plain", L"\\Br]ack[et", L"\\Caf\u00e9 \u00c0 \u20ac", L"\\Quote\"d",
        L"\\ Sp ",     L"\\@",     L"\\Deep\\Er",  L"\\Deep\\Er\\Est",           L"\\Out \u0100",
        L"\\Line\nKey"};
    CValueMaker maker(nStart);
    std::vector<RandomValue> values;
    std::set<std::wstring> keysWithUnnamed;
    for (int i = 0; i < 300; ++i) {
        RandomValue v;
        v.subKey = kSubKeys[maker.Below(std::size(kSubKeys))];
        if (maker.Below(12) == 0 && keysWithUnnamed.insert(v.subKey).second) {
            v.name.clear();
        } else {
            // A mark of its own keeps every name apart, whatever case the
            // registry ignores.
            v.name = maker.Text(8);
            v.name.insert(maker.Below(v.name.size() + 1), L"<" + std::to_wstring(i) + L">");
        }
        v.data = maker.Data();
        v.bChecked = maker.Below(7) != 0;
        Write(v.subKey, v.name, v.data);
        values.push_back(v);
    }
    const RegistrySnapshot before = TakeSnapshot(m_key.Handle());

    Search(kFind, kReplace);
    // Each row belongs to one value: the user unchecks those not to change.
    std::map<std::pair<std::string, std::string>, const RandomValue*> byRow;
    size_t nFound = 0;
    for (const RandomValue& v : values) {
        std::string strSubKey, strName;
        WideToAnsi(v.subKey, strSubKey);
        WideToAnsi(v.name, strName);
        if (v.name.empty())
            strName = "(Default)";
        byRow[{m_key.KeyPath() + strSubKey, strName}] = &v;
        nFound += v.Found() ? 1 : 0;
    }
    const std::vector<ResultRow> rows = Rows();
    ASSERT_EQ(rows.size(), nFound);
    for (size_t i = 0; i < rows.size(); ++i) {
        auto it = byRow.find({rows[i].strKeyPath, rows[i].strValueName});
        ASSERT_NE(it, byRow.end()) << "a row of no value: " << rows[i].strValueName;
        if (!it->second->bChecked)
            m_pFrame->m_wndView.SetRowCheck(static_cast<int>(i), 0);
    }

    ASSERT_NO_FATAL_FAILURE(ExportAndImport());

    const RegistrySnapshot after = TakeSnapshot(m_key.Handle());
    RegistrySnapshot expected = before;
    size_t nExported = 0;
    for (const RandomValue& v : values) {
        const StoredValue& wanted =
            v.Exported() ? TextValue(ReplaceText(v.data)) : before.values.at({v.subKey, v.name});
        nExported += v.Exported() ? 1 : 0;
        expected.values[{v.subKey, v.name}] = wanted;
        auto it = after.values.find({v.subKey, v.name});
        if (it == after.values.end())
            ADD_FAILURE() << "gone: " << v.Describe();
        else if (it->second != wanted)
            ADD_FAILURE() << v.Describe() << "\n  is       " << Printable(it->second)
                          << "\n  expected " << Printable(wanted);
    }
    for (const std::string& strDifference : Differences(after, expected))
        ADD_FAILURE() << strDifference;
    std::printf("%zu values, %zu found, %zu exported\n", values.size(), nFound, nExported);

    ASSERT_NO_FATAL_FAILURE(ImportSilently(Backup()));
    SCOPED_TRACE("after the import of the backup file");
    ExpectRegistry(before);
}
