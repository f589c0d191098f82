#!/usr/bin/env python3
"""Writes uninstall.lng, the English translation file, from the table below.

Each key is the CRC-32 of a kind prefix ("$" for dialog texts, "s" for messages), the
dialog's template name (dialog texts only) and the Simplified-Chinese source text, taken
as bytes of code page 936, the code page the executable's texts are read in; the file
therefore translates on systems with that code page. The keys are taken from the template
that the key tool writes from the resource scripts (every text of the table must be in
it, so the table follows the resources); without a template they are computed here by
the same rule. Run it after changing the table or the resources:
    lngkey template -o /tmp/template.lng
    python3 lang/en/make_lng.py /tmp/template.lng > lang/en/uninstall.lng
"""
import sys
import zlib

# Scale lines: "width*height" percentages for dialogs whose English texts need more room.
SCALES = {
    "SETUPDLG": "115*100",
}

DIALOGS = [
    ("SETUPDLG", "Zelkor 简体中文版安装", "Zelkor Setup"),
    ("SETUPDLG", "确定", "OK"),
    ("SETUPDLG", "Zelkor 关联文件", "Associate Zelkor with"),
    ("SETUPDLG", "KPX(&R)", "&KPX"),
    ("SETUPDLG", "ZIP(&Z)", "&ZIP"),
    ("SETUPDLG", "全部选择(&A)", "Select &all"),
    ("SETUPDLG", "界面", "Interface"),
    ("SETUPDLG", "在桌面创建 Zelkor 快捷方式(&D)", "Create a Zelkor shortcut on the &desktop"),
    ("SETUPDLG", "在开始菜单创建 Zelkor 快捷方式(&S)", "Create a Zelkor shortcut in the &Start menu"),
    ("SETUPDLG", "创建 Zelkor 程序组(&P)", "Create a Zelkor &program group"),
    ("SETUPDLG", "把 Zelkor 整合到资源管理器中(&I)", "&Integrate Zelkor into Explorer"),
    ("SETUPDLG", "外壳整合设置", "Shell integration"),
    ("SETUPDLG", "层叠右键关联菜单(&T)", "Cascaded con&text menu"),
    ("SETUPDLG", "在右键关联菜单中显示图标(&N)", "Show icons i&n the context menu"),
    ("SETUPDLG", "帮助", "Help"),
    ("SETUPDLG",
     "   这些选项控制 Zelkor 集成到 Windows 中。第一组选项允许选择可以 Zelkor 关联的文件类型。"
     "第二组让你选择 Zelkor 可执行文件链接的位置。而最后一组选项可以调节 Zelkor 集成到 Windows "
     "资源管理器中的属性。外壳整合提供方便的功能,像文件右键菜单的“解压”项目,所以通常没有禁止它的必要。"
     "\n    点击“帮助”按钮可以阅读关于这些选项的更多详细描述。",
     "   These options control how Zelkor is integrated into Windows. The first group selects "
     "the file types associated with Zelkor, the second where links to Zelkor are placed, and "
     "the last how Zelkor is integrated into Explorer. Shell integration adds convenient "
     "commands such as \"Extract\" to the context menu of files, so there is usually no need "
     "to disable it.\n    Click \"Help\" to read more about these options."),
    ("SETUPDLG", "选择关联菜单项目(&C)...", "&Context menu items..."),

    ("CONTEXTITEMS", "关联菜单项目", "Context menu items"),
    ("CONTEXTITEMS", "选择显示在资源管理器右键菜单中的项目", "Items shown in the Explorer context menu"),
    ("CONTEXTITEMS", "解压文件(&A)...", "Extract &files..."),
    ("CONTEXTITEMS", "解压到当前文件夹(&X)", "Extract &here"),
    ("CONTEXTITEMS", "解压到<文件夹\\>(&E)", "&Extract to <folder\\>"),
    ("CONTEXTITEMS", "解压每个压缩文件到单独的文件夹(&S)", "Extract each archive to a &separate folder"),
    ("CONTEXTITEMS", "用 Zelkor 打开(用于自解压文件)", "Open with Zelkor (self-extracting archives)"),
    ("CONTEXTITEMS", "添加到压缩文件中(&A)...", "&Add to archive..."),
    ("CONTEXTITEMS", "添加到<压缩文件名>(&T)", "Add &to <archive name>"),
    ("CONTEXTITEMS", "压缩到<压缩文件名>并 E-mail", "Compress to <archive name> and e-mail"),
    ("CONTEXTITEMS", "压缩并 E-mail...", "Compress and e-mail..."),
    ("CONTEXTITEMS", "测试压缩文件(&R)", "Test a&rchive"),
    ("CONTEXTITEMS", "转换压缩文件格式(&V)...", "Con&vert archive format..."),
    ("CONTEXTITEMS", "确定", "OK"),
    ("CONTEXTITEMS", "取消", "Cancel"),
    ("CONTEXTITEMS", "帮助", "Help"),

    ("DONEDLG", "Zelkor 简体中文版安装", "Zelkor Setup"),
    ("DONEDLG", "完成", "Finish"),
    ("DONEDLG", "Zelkor 已经成功地安装到文件夹", "Zelkor has been installed in"),
    ("DONEDLG", "使用 Zelkor “选项”菜单中的“设置...”命令可以定制更多的选项。",
     "More options can be set with the \"Settings...\" command of the \"Options\" menu in Zelkor."),
    ("DONEDLG", "如果这是你第一次安装 Zelkor, 请不要忘记阅读在线帮助。",
     "If this is your first installation of Zelkor, do not forget to read the online help."),
    ("DONEDLG", "请访问 Zelkor 的主页下载最新的 Zelkor 版本。在这里你也可以通过我们的安全交易服务器购买你的 Zelkor 许可。",
     "Please visit the Zelkor home page for the latest version of Zelkor. There you can "
     "also buy your Zelkor licence through our secure server."),
    ("DONEDLG", "运行 Zelkor(&R)", "&Run Zelkor"),
    ("DONEDLG", "阅读帮助(&H)", "Read &help"),
    ("DONEDLG", "查看许可(&L)", "&Licence"),
    ("DONEDLG", "定购(&P)", "&Purchase"),
    ("DONEDLG", "主页(&M)", "Ho&me page"),
    ("DONEDLG", "感谢使用 Zelkor 简体中文版!", "Thank you for using Zelkor!"),
]

MESSAGES = [
    ("Zelkor 压缩文件管理器", "Zelkor archive manager"),
    ("Zelkor 中文帮助", "Zelkor help"),
    ("控制台 KPX 中文手册", "Console KPX manual"),
    ("卸载 Zelkor", "Uninstall Zelkor"),
    ("卸载已完成", "Uninstall finished"),
    ("你应该手动删除 %s", "You should delete %s by hand"),
    ("确实要卸载 Zelkor 吗?", "Do you really want to uninstall Zelkor?"),
    ("无法打开列表文件 %s", "Cannot open the list file %s"),
    ("Zelkor 压缩文件", "Zelkor archive"),
    ("Zelkor ZIP 压缩文件", "Zelkor ZIP archive"),
    ("KPX 恢复卷", "KPX recovery volume"),
    ("处理 KPX、ZIP 和其他压缩格式", "Handles KPX, ZIP and other archive formats"),
    ("你需要重新启动 Windows 来完全卸载 Zelkor。", "You need to restart Windows to uninstall Zelkor completely."),
]


def computed_key(prefix, context, text):
    data = (prefix + context).encode("ascii") + text.encode("gbk")
    return "%08x" % (zlib.crc32(data) & 0xFFFFFFFF)


def quoted(text):
    return text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n")


def unquoted(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text) and text[i + 1] in '"\\nrt':
            out.append({'"': '"', "\\": "\\", "n": "\n", "r": "\r", "t": "\t"}[text[i + 1]])
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def template_keys(path):
    """(context, source text) -> key, from the entry lines of an lngkey template."""
    keys, context = {}, None
    for raw in open(path, "rb").read().replace(b"\r", b"\n").split(b"\n"):
        line = raw.decode("gbk", errors="replace")
        if line.startswith("; ---- Messages"):
            context = ""
        elif line.startswith("; ---- Dialog "):
            context = line[len("; ---- Dialog "):].split()[0]
        entry = line.lstrip(";")
        if context is None or len(entry) < 11 or entry[8:10] != '="':
            continue
        value = entry[10:entry.rfind('"')]
        source = "" if line.startswith(";") else unquoted(value)
        keys[(context, source)] = entry[:8]
    return keys


def main():
    if len(sys.argv) > 1:
        found = template_keys(sys.argv[1])
        def key(prefix, context, text):  # noqa: F811 - keys of the template
            if (context, text) not in found:
                sys.exit("not in the template: %s %r" % (context or "message", text))
            return found[(context, text)]
    else:
        key = computed_key
    out = []
    out.append("; Zelkor uninstall.exe: English translation for systems with code page 936.")
    out.append("; Generated by lang/en/make_lng.py; each key is the CRC-32 of the source text.")
    out.append("***messages***")
    for dialog, value in SCALES.items():
        out.append('%s="%s"' % (key("$", dialog, ""), value))
    for dialog, source, english in DIALOGS:
        out.append('%s="%s"' % (key("$", dialog, source), quoted(english)))
    for source, english in MESSAGES:
        out.append('%s="%s"' % (key("s", "", source), quoted(english)))
    sys.stdout.buffer.write(("\r\n".join(out) + "\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
