// The folders' one-way dependencies: every #include in the program's folders and every library
// a folder's CMakeLists.txt links must be one the table of layers in README.md allows, and the
// table and the link lists name only folders the code includes. The table is read from the README
// itself, so it is written once; a new folder, an upward include or link, a row or link the code
// no longer needs, or a cycle in the table fails here.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <tuple>

namespace {

struct LayerTable {
    QStringList folders;                  // in the order of the rows
    QHash<QString, QStringList> buildsOn; // as the rows say
    QString error;                        // empty when the table is well formed and one-way
    QHash<QString, QSet<QString>> reach;  // every folder a folder may include, itself excluded
};

struct Arrow {
    QString file; // relative to the root
    int line = 0;
    QString from, to, text;
    const char* verb = "include";
};

struct IncludeScan {
    std::vector<Arrow> arrows;          // includes the table does not allow
    int seen = 0;                       // includes read
    QHash<QString, QSet<QString>> used; // the other folders each folder includes
};

QStringList Backticked(const QString& cell)
{
    QStringList names;
    static const QRegularExpression name(QStringLiteral("`([^`]+)`"));
    for (auto it = name.globalMatch(cell); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

// What a folder reaches through the rows, depth first; a folder met again on its own path is a
// cycle.
bool Reach(LayerTable& t, const QString& folder, QStringList& path)
{
    if (t.reach.contains(folder))
        return true;
    if (path.contains(folder)) {
        t.error = QStringLiteral("the table has a cycle: ") + (path << folder).join(QStringLiteral(" -> "));
        return false;
    }
    path << folder;
    QSet<QString> all;
    for (const QString& below : t.buildsOn.value(folder)) {
        if (!Reach(t, below, path))
            return false;
        all.insert(below);
        all.unite(t.reach.value(below));
    }
    path.removeLast();
    t.reach.insert(folder, all);
    return true;
}

// The rows under "## Layers": "| `folder` | `below`, `below` |".
LayerTable ReadTable(const QString& root)
{
    LayerTable t;
    QFile f(QDir(root).filePath(QStringLiteral("README.md")));
    if (!f.open(QIODevice::ReadOnly)) {
        t.error = QStringLiteral("no README.md in ") + root;
        return t;
    }
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    qsizetype i = lines.indexOf(QStringLiteral("## Layers"));
    if (i < 0) {
        t.error = QStringLiteral("README.md has no \"## Layers\" section");
        return t;
    }
    while (++i < lines.size() && !lines[i].startsWith(QLatin1Char('|')))
        ;
    for (i += 2; i < lines.size() && lines[i].startsWith(QLatin1Char('|')); ++i) {
        const QStringList cells = lines[i].split(QLatin1Char('|'));
        const QStringList folder = Backticked(cells.value(1));
        if (folder.size() != 1 || t.buildsOn.contains(folder[0])) {
            t.error = QStringLiteral("bad or repeated row: ") + lines[i];
            return t;
        }
        t.folders << folder[0];
        t.buildsOn.insert(folder[0], Backticked(cells.value(2)));
    }
    for (const QString& folder : t.folders)
        for (const QString& below : t.buildsOn[folder])
            if (!t.buildsOn.contains(below)) {
                t.error = folder + QStringLiteral(" builds on ") + below + QStringLiteral(", which has no row");
                return t;
            }
    for (const QString& folder : t.folders) {
        QStringList path;
        if (!Reach(t, folder, path))
            return t;
    }
    if (t.folders.isEmpty())
        t.error = QStringLiteral("the table under \"## Layers\" has no rows");
    return t;
}

// The folder of the table a path lies in: the longest one it starts with.
QString FolderOf(const LayerTable& t, const QString& path)
{
    QString best;
    for (const QString& folder : t.folders)
        if (path.startsWith(folder + QLatin1Char('/')) && folder.size() > best.size())
            best = folder;
    return best;
}

// Quoted includes are looked up beside the including file first, then below the root, as the
// compiler does; angle-bracket includes only below the root. An include that names nothing in
// a folder of the table (a generated header, a library's) is none of the table's business.
QString IncludedPath(const QDir& root, const QString& fileDir, const QString& text, bool quoted)
{
    if (quoted) {
        const QString beside = QDir::cleanPath(fileDir + QLatin1Char('/') + text);
        if (QFileInfo::exists(root.filePath(beside)))
            return beside;
    }
    return QDir::cleanPath(text);
}

IncludeScan ScanIncludes(const QString& rootPath, const LayerTable& t)
{
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"));
    const QDir root(rootPath);
    IncludeScan scan;
    std::vector<Arrow>& arrows = scan.arrows;
    for (const QString& folder : t.folders) {
        QDirIterator it(root.filePath(folder), {"*.h", "*.hpp", "*.c", "*.cc", "*.cpp"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = root.relativeFilePath(it.next());
            if (FolderOf(t, file) != folder)
                continue; // a file of a sub-folder with a row of its own
            QFile f(root.filePath(file));
            if (!f.open(QIODevice::ReadOnly)) {
                arrows.push_back({file, 0, folder, QString(), QStringLiteral("cannot be read")});
                continue;
            }
            const QString fileDir = QFileInfo(file).path();
            int line = 0;
            while (!f.atEnd()) {
                ++line;
                const QRegularExpressionMatch m = include.match(QString::fromUtf8(f.readLine()));
                if (!m.hasMatch())
                    continue;
                ++scan.seen;
                const QString target = IncludedPath(root, fileDir, m.captured(2), m.captured(1) == QLatin1String("\""));
                const QString to = FolderOf(t, target);
                if (to.isEmpty() || to == folder)
                    continue;
                scan.used[folder].insert(to);
                if (!t.reach.value(folder).contains(to))
                    arrows.push_back({file, line, folder, to, m.captured(2)});
            }
        }
    }
    std::sort(arrows.begin(), arrows.end(),
              [](const Arrow& a, const Arrow& b) { return std::tie(a.file, a.line) < std::tie(b.file, b.line); });
    return scan;
}

// The libraries each folder's CMakeLists.txt links: the DEPS of its zendrik_library() and what
// its target_link_libraries() add, as arrows to the folder whose library each is. Imported and
// generated libraries (Qt, pkg-config, the RPC stubs) belong to no folder of the table.
std::vector<Arrow> LinkedFolders(const QString& rootPath, const LayerTable& t)
{
    static const QRegularExpression call(QStringLiteral(R"(\b(zendrik_library|target_link_libraries)\s*\(([^)]*)\))"));
    static const QRegularExpression comment(QStringLiteral("#[^\n]*"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QDir root(rootPath);
    QHash<QString, QString> texts, folderOfLibrary;
    for (const QString& folder : t.folders) {
        QFile f(root.filePath(folder + QStringLiteral("/CMakeLists.txt")));
        if (f.open(QIODevice::ReadOnly))
            texts[folder] = QString::fromUtf8(f.readAll()).replace(comment, QString());
        for (auto it = call.globalMatch(texts[folder]); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(1) == QLatin1String("zendrik_library"))
                folderOfLibrary[m.captured(2).split(space, Qt::SkipEmptyParts).value(0)] = folder;
        }
    }
    std::vector<Arrow> links;
    for (const QString& folder : t.folders)
        for (auto it = call.globalMatch(texts[folder]); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const int line = static_cast<int>(texts[folder].left(m.capturedStart()).count(QLatin1Char('\n'))) + 1;
            // Keywords (DEPS, PRIVATE, ...) and source files are no library's name.
            for (const QString& word : m.captured(2).split(space, Qt::SkipEmptyParts).mid(1)) {
                const QString to = folderOfLibrary.value(word);
                if (!to.isEmpty() && to != folder)
                    links.push_back({folder + QStringLiteral("/CMakeLists.txt"), line, folder, to, word, "link"});
            }
        }
    return links;
}

std::vector<Arrow> ForbiddenLinks(const LayerTable& t, const std::vector<Arrow>& links)
{
    std::vector<Arrow> arrows;
    std::copy_if(links.begin(), links.end(), std::back_inserter(arrows),
                 [&](const Arrow& a) { return !t.reach.value(a.from).contains(a.to); });
    return arrows;
}

// Rows and links that name a folder the code of the folder includes nothing of.
QStringList Unneeded(const LayerTable& t, const std::vector<Arrow>& links, const IncludeScan& scan)
{
    QStringList found;
    for (const QString& folder : t.folders)
        for (const QString& below : t.buildsOn.value(folder))
            if (!scan.used.value(folder).contains(below))
                found << QStringLiteral("README.md: ") + folder + QStringLiteral(" builds on ") + below +
                             QStringLiteral(" but includes nothing of it");
    for (const Arrow& a : links)
        if (!scan.used.value(a.from).contains(a.to))
            found << a.file + QLatin1Char(':') + QString::number(a.line) + QStringLiteral(": ") + a.from +
                         QStringLiteral(" links ") + a.to + QStringLiteral(" (") + a.text +
                         QStringLiteral(") but includes nothing of it");
    return found;
}

std::string Describe(const std::vector<Arrow>& arrows)
{
    QString out;
    for (const Arrow& a : arrows)
        out += a.file + QLatin1Char(':') + QString::number(a.line) + QStringLiteral(": ") + a.from +
               QStringLiteral(" may not ") + QLatin1String(a.verb) + QLatin1Char(' ') + a.to + QStringLiteral(" (") +
               a.text + QStringLiteral(")\n");
    return out.toStdString();
}

void Write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(text);
}

} // namespace

TEST(Layers, EveryIncludeOfTheTreeIsOneTheTableAllows)
{
    const LayerTable t = ReadTable(QStringLiteral(ZENDRIK_SOURCE_DIR));
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    const IncludeScan scan = ScanIncludes(QStringLiteral(ZENDRIK_SOURCE_DIR), t);
    EXPECT_TRUE(scan.arrows.empty()) << Describe(scan.arrows);
    // The tree has thousands; a reader that matched none would pass everything.
    EXPECT_GT(scan.seen, 1000);
}

TEST(Layers, EveryLinkListIsOneTheTableAllowsAndNothingIsLinkedOrListedInVain)
{
    const LayerTable t = ReadTable(QStringLiteral(ZENDRIK_SOURCE_DIR));
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    const std::vector<Arrow> links = LinkedFolders(QStringLiteral(ZENDRIK_SOURCE_DIR), t);
    const std::vector<Arrow> arrows = ForbiddenLinks(t, links);
    EXPECT_TRUE(arrows.empty()) << Describe(arrows);
    const QStringList unneeded = Unneeded(t, links, ScanIncludes(QStringLiteral(ZENDRIK_SOURCE_DIR), t));
    EXPECT_TRUE(unneeded.isEmpty()) << unneeded.join(QLatin1Char('\n')).toStdString();
    // Every folder but the lowest links something; a reader that found little would pass all.
    EXPECT_GT(links.size(), 30u);
}

TEST(Layers, EveryLibraryFolderHasARow)
{
    const QDir root(QStringLiteral(ZENDRIK_SOURCE_DIR));
    const LayerTable t = ReadTable(root.path());
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    for (const QString& folder : t.folders)
        EXPECT_TRUE(QFileInfo(root.filePath(folder)).isDir()) << folder.toStdString() << " is no folder";
    QFile top(root.filePath(QStringLiteral("CMakeLists.txt")));
    ASSERT_TRUE(top.open(QIODevice::ReadOnly));
    static const QRegularExpression sub(QStringLiteral(R"(add_subdirectory\(([^)\s]+)\))"));
    int libraries = 0;
    for (auto it = sub.globalMatch(QString::fromUtf8(top.readAll())); it.hasNext();) {
        const QString folder = it.next().captured(1);
        QFile lists(root.filePath(folder + QStringLiteral("/CMakeLists.txt")));
        if (!lists.open(QIODevice::ReadOnly) || !lists.readAll().contains("zendrik_library("))
            continue;
        ++libraries;
        EXPECT_TRUE(t.folders.contains(folder)) << folder.toStdString() << " has no row in README.md's layers";
    }
    EXPECT_GT(libraries, 10);
}

// The check itself on a small tree: it must see quoted, relative and angle-bracket includes, and
// refuse a cycle in the table.
TEST(Layers, UpwardIncludesAndCyclesAreFound)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    const QByteArray table = "# x\n\n## Layers\n\ntext\n\n| folder | builds on |\n|---|---|\n"
                             "| `low` | |\n| `low/sub` | `low` |\n| `high` | `low/sub` |\n\nafter\n";
    Write(root + "/README.md", table);
    Write(root + "/low/A.h", "#include \"low/B.h\"\n#include <QString>\n#include \"generated.h\"\n");
    Write(root + "/low/B.h", "\n#include \"high/C.h\"\n");
    Write(root + "/low/sub/D.cpp", "#include \"../A.h\"\n#include \"D.h\"\n");
    Write(root + "/low/sub/D.h", "  #  include <high/C.h>\n");
    Write(root + "/high/C.h", "#include \"low/A.h\"\n#include \"low/sub/D.h\"\n");
    Write(root + "/low/CMakeLists.txt", "zendrik_library(z_low DEPS Qt6::Core # z_high\n)\n");
    Write(root + "/low/sub/CMakeLists.txt", "zendrik_library(z_sub DEPS z_low)\n\n"
                                            "target_link_libraries(z_sub PRIVATE z_high)\n");
    Write(root + "/high/CMakeLists.txt", "zendrik_library(z_high DEPS z_sub z_low)\n");
    LayerTable t = ReadTable(root);
    ASSERT_TRUE(t.error.isEmpty()) << t.error.toStdString();
    EXPECT_EQ(t.reach.value("high"), QSet<QString>({"low", "low/sub"}));
    const IncludeScan scan = ScanIncludes(root, t);
    EXPECT_EQ(scan.seen, 9);
    EXPECT_EQ(Describe(scan.arrows), "low/B.h:2: low may not include high (high/C.h)\n"
                                     "low/sub/D.h:1: low/sub may not include high (high/C.h)\n");
    const std::vector<Arrow> links = LinkedFolders(root, t);
    EXPECT_EQ(Describe(ForbiddenLinks(t, links)), "low/sub/CMakeLists.txt:3: low/sub may not link high (z_high)\n");
    Write(root + "/high/C.h", "#include \"low/sub/D.h\"\n");
    Write(root + "/low/sub/D.cpp", "#include \"D.h\"\n");
    EXPECT_EQ(Unneeded(t, links, ScanIncludes(root, t)),
              QStringList({"README.md: low/sub builds on low but includes nothing of it",
                           "low/sub/CMakeLists.txt:1: low/sub links low (z_low) but includes nothing of it",
                           "high/CMakeLists.txt:1: high links low (z_low) but includes nothing of it"}));

    Write(root + "/README.md", QByteArray(table).replace("| `low` | |", "| `low` | `high` |"));
    t = ReadTable(root);
    EXPECT_TRUE(t.error.startsWith("the table has a cycle: low -> high -> low/sub -> low")) << t.error.toStdString();
}
