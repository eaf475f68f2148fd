<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BackupFolderText</name>
    <message>
        <source>%1: %2</source>
        <comment>a file, and why it could not be written</comment>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1：没有这个文件</translation>
    </message>
    <message>
        <source>%1: not a readable backup file</source>
        <translation>%1：不是可读取的备份文件</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>a backup file, and what is wrong with it</comment>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>there is no folder for backups (no home folder)</source>
        <translation>没有存放备份的文件夹（没有主文件夹）</translation>
    </message>
    <message>
        <source>%1: the folder cannot be made</source>
        <translation>%1：无法创建该文件夹</translation>
    </message>
    <message>
        <source>%1: too large (%2 bytes; a backup is at most %3)</source>
        <translation>%1：文件过大（%2 字节；备份文件最大为 %3）</translation>
    </message>
    <message numerus="yes">
        <source>%n bytes</source>
        <translation>
            <numerusform>%n 字节</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BackupListText</name>
    <message>
        <source>Not listed: %1</source>
        <translation>未列出：%1</translation>
    </message>
    <message>
        <source>No automatic backups in %1.</source>
        <translation>%1 中没有自动备份。</translation>
    </message>
    <message>
        <source>No automatic backup in %1 has a serial number that contains %2.</source>
        <translation>%1 中没有序列号含有 %2 的自动备份。</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Radio type</source>
        <translation>机型</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Dealer code</source>
        <translation>经销商代码</translation>
    </message>
    <message>
        <source>Seller</source>
        <translation>经手人</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
</context>
<context>
    <name>BackupText</name>
    <message>
        <source>not a backup file (no JSON object)</source>
        <translation>不是备份文件（没有 JSON 对象）</translation>
    </message>
    <message>
        <source>not a backup file (format is not &quot;%1&quot;)</source>
        <translation>不是备份文件（格式不是“%1”）</translation>
    </message>
    <message>
        <source>backup file of another version</source>
        <translation>其他版本的备份文件</translation>
    </message>
    <message>
        <source>the backup file names no radio type</source>
        <translation>备份文件没有写明机型</translation>
    </message>
    <message numerus="yes">
        <source>the backup file does not hold %n blocks</source>
        <translation>
            <numerusform>备份文件中的数据块不是 %n 个</numerusform>
        </translation>
    </message>
    <message>
        <source>block %1 of the backup file is damaged</source>
        <translation>备份文件的第 %1 块已损坏</translation>
    </message>
</context>
<context>
    <name>CableText</name>
    <message>
        <source>The cable is a USB serial bridge (USB %1).</source>
        <translation>写频线使用 USB 转串口芯片（USB %1）。</translation>
    </message>
    <message>
        <source>The cable is a USB serial bridge (USB %1, driver %2).</source>
        <translation>写频线使用 USB 转串口芯片（USB %1，驱动程序 %2）。</translation>
    </message>
    <message>
        <source>The cable is %1 (USB %2).</source>
        <translation>写频线使用 %1（USB %2）。</translation>
    </message>
    <message>
        <source>The cable is %1 (USB %2, driver %3).</source>
        <translation>写频线使用 %1（USB %2，驱动程序 %3）。</translation>
    </message>
</context>
<context>
    <name>CheckText</name>
    <message>
        <source>%1 is not in the port list; it is tried as given.</source>
        <translation>%1 不在串口列表中，按输入的名称尝试。</translation>
    </message>
    <message>
        <source>%1 is in the port list: %2.</source>
        <translation>%1 在串口列表中：%2。</translation>
    </message>
    <message>
        <source>%1 is in the port list: %2; its cable has a %3 USB serial bridge.</source>
        <translation>%1 在串口列表中：%2；它的写频线使用 %3 USB 转串口芯片。</translation>
    </message>
    <message>
        <source>%1 opened.</source>
        <translation>已打开 %1。</translation>
    </message>
    <message>
        <source>The radio answered the program command.</source>
        <translation>对讲机已应答编程命令。</translation>
    </message>
    <message>
        <source>The end command was not sent, as a read sends none to a radio of a type it does not know.</source>
        <translation>未发送结束命令：对于本程序不认识的机型，读取时同样不发送结束命令。</translation>
    </message>
    <message>
        <source>The radio is a %1, band %2: %3.</source>
        <translation>对讲机是 %1，频段 %2：%3。</translation>
    </message>
    <message>
        <source>The radio answered the end command.</source>
        <translation>对讲机已应答结束命令。</translation>
    </message>
    <message>
        <source>The end command got no reply; switch the radio off and on before you use it.</source>
        <translation>结束命令没有得到应答；使用对讲机之前，请先把它关机再开机。</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1：</translation>
    </message>
    <message>
        <source>A radio answers on %1: choose %1 in the window, or give %2.</source>
        <translation>对讲机在 %1 上应答：请在窗口中选择 %1，或者使用 %2。</translation>
    </message>
    <message>
        <source>A radio of a type this program does not know answers on %1.</source>
        <translation>%1 上有对讲机应答，但本程序不认识它的机型。</translation>
    </message>
    <message>
        <source>No port with a USB serial cable was found: plug the cable in, or give its port with --port.</source>
        <translation>没有找到接有 USB 写频线的串口：请插上写频线，或者用 --port 指定它的串口。</translation>
    </message>
    <message>
        <source>No radio answered on the ports tried.</source>
        <translation>尝试过的串口上都没有对讲机应答。</translation>
    </message>
    <message>
        <source>Not tried, as neither a USB serial cable nor an alias of yours is behind them: %1.</source>
        <translation>以下串口没有接 USB 写频线，也不是自行指定编号的别名，因此没有尝试：%1。</translation>
    </message>
    <message>
        <source>Trying COM%1 ...</source>
        <translation>正在尝试 COM%1……</translation>
    </message>
    <message>
        <source>No port with a USB serial cable was found, but a cable is plugged in without a port: see above for why.</source>
        <translation>没有找到接有 USB 写频线的串口，但有写频线已插上却没有串口：原因见上文。</translation>
    </message>
</context>
<context>
    <name>CliHelp</name>
    <message>
        <source>Reads the radio and prints its record as the window shows it: every field, the band&apos;s name and the switches; as text, as JSON, or as one CSV line per radio.</source>
        <translation>读取对讲机，并按窗口的显示方式输出其记录：每个字段、频段名称和各开关；以文本、JSON 或每台对讲机一行 CSV 的形式输出。</translation>
    </message>
    <message>
        <source>Writes the fields given and only those: every other byte goes back as the radio holds it. Prints each changed field as before → after. Before any block is written, the image as read is saved as an automatic backup; the write is refused when that fails (unless --no-backup). A text too wide for its field in the radio&apos;s code page is an error, never cut. A band change needs --yes; a radio in the 66 - 88 MHz band (18) cannot be given another band.</source>
        <translation>只写入所给的字段：其余每个字节都按对讲机原有的内容写回。每个更改的字段按“原值 → 新值”输出。在写入任何数据块之前，读取到的完整数据先保存为自动备份；保存失败时拒绝写入（除非加 --no-backup）。文字超出字段宽度（按对讲机的代码页计算）时报错，不会截断。更改频段需要 --yes；处于 66 - 88 MHz 频段（18）的对讲机不能改为其他频段。</translation>
    </message>
    <message>
        <source>Reads the radio and keeps its whole image, its type and its serial number in FILE (a new file; a folder gets a file named after the serial number and the time).</source>
        <translation>读取对讲机，把它的完整数据、机型和序列号保存到新文件 FILE；FILE 是文件夹时，在其中新建以序列号和时间命名的文件。</translation>
    </message>
    <message>
        <source>Writes the dealer fields, password, band-setting switch and band of a backup file (or of an automatic backup) back to the radio, byte for byte, as a write does: the radio&apos;s type is checked, its blocks read and saved as a backup, then blocks 0 to 4 written. Refuses a file of another radio type, and of another serial number unless --force. Prints what it changes before it writes.</source>
        <translation>把备份文件（或自动备份）中的经销商信息、编程密码、频段设置和频段逐字节写回对讲机，过程与写入相同：先检查对讲机的机型，读取其数据块并保存为备份，然后写入第 0 至第 4 块。拒绝其他机型的文件；除非加 --force，也拒绝其他序列号的文件。写入前输出将要更改的内容。</translation>
    </message>
    <message>
        <source>The radio&apos;s port: a COM number as &apos;ports&apos; lists it (900 or COM900), or a device path. Default: the port chosen in the window.</source>
        <translation>对讲机所接的串口：&apos;ports&apos; 列出的 COM 编号（900 或 COM900），或设备路径。默认：窗口中选择的串口。</translation>
    </message>
    <message>
        <source>Print the record as JSON.</source>
        <translation>以 JSON 格式输出记录。</translation>
    </message>
    <message>
        <source>Print the record as one CSV line.</source>
        <translation>把记录输出为一行 CSV。</translation>
    </message>
    <message>
        <source>With --csv: print the names of the columns first.</source>
        <translation>与 --csv 一起使用：先输出各列的名称。</translation>
    </message>
    <message>
        <source>Also keep the image in FILE, as &apos;backup&apos; does (with --repeat: a folder).</source>
        <translation>同时把完整数据保存到 FILE，与 &apos;backup&apos; 相同（与 --repeat 一起使用时 FILE 为文件夹）。</translation>
    </message>
    <message>
        <source>The radio type to write (TANGELOUV, TANGELOSU, TANGELOSV); another radio is a model error. Default: the type the radio reports, read first.</source>
        <translation>写入时核对的机型（TANGELOUV、TANGELOSU、TANGELOSV）：对讲机是其他机型即为机型错误。默认使用对讲机报告的机型（先读取）。</translation>
    </message>
    <message>
        <source>The dealer code (16 bytes).</source>
        <translation>经销商代码（16 字节）。</translation>
    </message>
    <message>
        <source>The stock date, any text (16 bytes).</source>
        <translation>入库时间，任意文字（16 字节）。</translation>
    </message>
    <message>
        <source>The sell date, any text (16 bytes).</source>
        <translation>销售时间，任意文字（16 字节）。</translation>
    </message>
    <message>
        <source>The seller (16 bytes).</source>
        <translation>经手人（16 字节）。</translation>
    </message>
    <message>
        <source>The programming password (4 bytes).</source>
        <translation>编程密码（4 字节）。</translation>
    </message>
    <message>
        <source>The band-setting switch.</source>
        <translation>频段设置。</translation>
    </message>
    <message>
        <source>The band: its number (0 to 18) or its name as &apos;read&apos; shows it.</source>
        <translation>频段：其编号（0 至 18）或 &apos;read&apos; 显示的名称。</translation>
    </message>
    <message>
        <source>Agree to a change of the radio&apos;s band.</source>
        <translation>同意更改对讲机的频段。</translation>
    </message>
    <message>
        <source>Restore a file of another serial number.</source>
        <translation>恢复其他序列号的文件。</translation>
    </message>
    <message>
        <source>Print what would change, and write nothing.</source>
        <translation>输出将会更改的内容，不写入任何数据。</translation>
    </message>
    <message>
        <source>Do not save the automatic backup before writing.</source>
        <translation>写入前不保存自动备份。</translation>
    </message>
    <message>
        <source>Radio after radio: after each one, prompt &quot;Connect the next radio, then press Enter; q to quit&quot;; one line per radio, a summary at the end.</source>
        <translation>逐台处理对讲机：每台之后提示“请连接下一台对讲机，然后按回车键；输入 q 或‘退’退出”；每台对讲机一行结果，最后输出汇总。</translation>
    </message>
    <message>
        <source>With --repeat: no prompt; the program command is tried again until a radio answers (the radio just done counts once it is taken away or another one answers). Ctrl-C ends the run.</source>
        <translation>与 --repeat 一起使用：不提示，反复发送编程命令，直到有对讲机应答。刚处理完的对讲机要先取下，或者有另一台对讲机应答，才算下一台。按 Ctrl-C 结束。</translation>
    </message>
    <message>
        <source>Trace the link&apos;s frames and events on standard error.</source>
        <translation>在标准错误输出上显示链路跟踪：收发的每一帧和链路上的事件。</translation>
    </message>
    <message>
        <source>Exit codes:
  0  done
  1  radio failure or no reply
  2  usage: a wrong command line, or a file named on it
  3  the port cannot be opened, or it went away during check
  4  model error: the radio is not of the type given (or of the file&apos;s)
  5  refused: nothing was written
With --repeat: 0 when every radio was done, else the code of the first radio that was not.
</source>
        <translation>退出码：
  0  完成
  1  通信失败或对讲机无应答，或写入校验失败
  2  用法错误：命令行有误，或其中给出的文件有误
  3  无法打开串口，或在 check 过程中串口断开
  4  机型错误：对讲机不是所给的机型（或文件的机型）
  5  已拒绝：未写入任何数据
使用 --repeat 时：每台对讲机都完成则为 0，否则为第一台未完成的对讲机的退出码。
</translation>
    </message>
    <message>
        <source>What programs read does not change with the language: the --json keys, the --csv columns, the backup file, the --log file, the exit codes and the --trace output stay English.</source>
        <translation>供程序读取的内容不随语言改变：--json 的键、--csv 的列、备份文件、--log 文件、退出码和 --trace 的输出始终为英文。</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>用法：%1</translation>
    </message>
    <message>
        <source>Reads and writes the information block of TANGELO radios from the command line, radio after radio.</source>
        <translation>在命令行中逐台读取和写入 TANGELO 对讲机的信息块。</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>命令：</translation>
    </message>
    <message>
        <source>&apos;%1&apos; shows a command&apos;s options; %2 the version.</source>
        <translation>&apos;%1&apos; 显示命令的选项；%2 显示版本。</translation>
    </message>
    <message>
        <source>Automatic backups: every write first saves the radio&apos;s image in the data folder (%1); &apos;restore&apos; takes such a file.</source>
        <translation>自动备份：每次写入前都先把对讲机的完整数据保存到数据文件夹（%1）；&apos;restore&apos; 可以使用这样的文件。</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>选项：</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>显示本帮助。</translation>
    </message>
    <message>
        <source>Checks the link to the radio step by step, one line per step: the port and its cable, the opening, the program command, the radio&apos;s identity (type and band) and the end command. Reads no block and writes nothing. Without --port it tries each port with a USB serial cable (CH340, CH341, CH9102, CH343, PL2303, CP210x, FTDI) and each port given a number of your own, never a built-in serial port or a modem, and says on which one a radio answers.</source>
        <translation>逐步检查电脑与对讲机之间的链路，每一步一行：串口及其写频线、打开串口、编程命令、对讲机的识别信息（机型和频段）和结束命令。不读取任何数据块，也不写入任何内容。不加 --port 时，逐个尝试每个接有 USB 写频线（CH340、CH341、CH9102、CH343、PL2303、CP210x、FTDI）的串口和每个自行指定了编号的串口，从不尝试电脑自带的串口和调制解调器，并说明对讲机在哪个串口上应答。</translation>
    </message>
    <message>
        <source>Lists the automatic backups, newest first: time, radio type, serial number, dealer code, seller and file; with SERIAL only those of serial numbers that contain it. &apos;restore&apos; takes the file.</source>
        <translation>按时间从新到旧列出自动备份：时间、机型、序列号、经销商代码、经手人和文件；给出 SERIAL 时，只列出序列号中含有它的备份。&apos;restore&apos; 可以使用其中的文件。</translation>
    </message>
    <message>
        <source>Check this port only: a COM number as &apos;ports&apos; lists it, or a device path. Default: every port a cable may be on.</source>
        <translation>只检查这个串口：&apos;ports&apos; 列出的 COM 编号，或设备路径。默认：写频线可能所在的每个串口。</translation>
    </message>
    <message>
        <source>Print the steps as JSON, for a support request (in English whatever the language).</source>
        <translation>以 JSON 输出各步骤，便于提交给技术支持（不论语言，始终为英文）。</translation>
    </message>
    <message>
        <source>Usage: tangelo-cli COMMAND [OPTIONS]</source>
        <translation>用法：tangelo-cli 命令 [选项]</translation>
    </message>
    <message>
        <source>Append a line per radio: time, port, type, serial number, result, changed fields and, for a radio failed or skipped, the reason. Only a new file, an empty one or such a log is taken.</source>
        <translation>每台对讲机追加一行：时间、串口、机型、序列号、结果、更改的字段，失败或跳过的对讲机还有原因。只接受新文件、空文件或这样的日志文件。</translation>
    </message>
    <message>
        <source>The code page of the radio&apos;s texts, for a radio written on a system of another language: one of %1 (936: Simplified Chinese, 1252: Western European). Default: the system&apos;s, as the window uses.</source>
        <translation>对讲机文本的代码页，用于在其他语言的系统上写入的对讲机：%1 之一（936 为简体中文，1252 为西欧语言）。默认：系统的代码页，与窗口相同。</translation>
    </message>
    <message>
        <source>Lists the serial ports as the window&apos;s list does: COM number, device and adapter. Then each USB serial cable that is plugged in but has no port, with why and what to do.</source>
        <translation>按窗口中串口列表的方式列出串口：COM 编号、设备和适配器。然后列出每条已插上但没有串口的 USB 写频线，说明原因和处理方法。</translation>
    </message>
    <message>
        <source>Print the ports and the cables without a port as JSON (in English whatever the language).</source>
        <translation>以 JSON 输出串口和没有串口的写频线（不论语言，始终为英文）。</translation>
    </message>
</context>
<context>
    <name>CliUsage</name>
    <message>
        <source>dealer code</source>
        <translation>经销商代码</translation>
    </message>
    <message>
        <source>stock date</source>
        <translation>入库时间</translation>
    </message>
    <message>
        <source>sell date</source>
        <translation>销售时间</translation>
    </message>
    <message>
        <source>seller</source>
        <translation>经手人</translation>
    </message>
    <message>
        <source>password</source>
        <translation>编程密码</translation>
    </message>
    <message numerus="yes">
        <source>--%1: &quot;%2&quot; takes %3 bytes in the radio&apos;s code page %4; the %5 field holds %n bytes</source>
        <translation>
            <numerusform>--%1：“%2”按对讲机的代码页 %4 占 %3 字节；%5字段只能容纳 %n 字节</numerusform>
        </translation>
    </message>
    <message>
        <source>See &apos;%1&apos;.</source>
        <translation>请参阅 &apos;%1&apos;。</translation>
    </message>
    <message>
        <source>no command &apos;%1&apos;</source>
        <translation>没有命令 &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--%1 is given more than once</source>
        <translation>--%1 出现了不止一次</translation>
    </message>
    <message>
        <source>&apos;%1&apos; takes one FILE</source>
        <translation>&apos;%1&apos; 需要一个 FILE</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>多余的参数 &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 goes with %2</source>
        <translation>%1 只能与 %2 一起使用</translation>
    </message>
    <message>
        <source>%1 and %2 exclude each other</source>
        <translation>%1 和 %2 不能同时使用</translation>
    </message>
    <message>
        <source>--type: no radio type &apos;%1&apos;; the types are %2</source>
        <translation>--type：没有机型 &apos;%1&apos;；机型有 %2</translation>
    </message>
    <message>
        <source>--band-setting takes on or off</source>
        <translation>--band-setting 只能取 on 或 off</translation>
    </message>
    <message>
        <source>--band: no band &apos;%1&apos;; give 0 to 18 or a band&apos;s name as &apos;read&apos; shows it</source>
        <translation>--band：没有频段 &apos;%1&apos;；请给出 0 至 18，或 &apos;read&apos; 显示的频段名称</translation>
    </message>
    <message>
        <source>nothing to write: give at least one field</source>
        <translation>没有要写入的内容：请至少给出一个字段</translation>
    </message>
    <message>
        <source>--%1: &quot;%2&quot; has a control character (%3) at character %4; the %5 field takes none</source>
        <translation>--%1：“%2”的第 %4 个字符是控制字符（%3）；%5字段不能包含控制字符</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (%2)</source>
        <comment>a character and its code</comment>
        <translation>“%1”（%2）</translation>
    </message>
    <message>
        <source>--%1: the character %2 cannot be stored in the %3 field in the radio&apos;s code page %4</source>
        <translation>--%1：字符 %2 无法按对讲机的代码页 %4 保存到%3字段中</translation>
    </message>
    <message>
        <source>--code-page: %1 is not a code page this program knows; give one of %2</source>
        <translation>--code-page：%1 不是本程序认识的代码页；请给出 %2 之一</translation>
    </message>
    <message>
        <source>--code-page: this system cannot convert code page %1</source>
        <translation>--code-page：这个系统无法转换代码页 %1</translation>
    </message>
</context>
<context>
    <name>CommandLineText</name>
    <message>
        <source>Usage: TANGELO_Tune [options]</source>
        <translation>用法：TANGELO_Tune [选项]</translation>
    </message>
    <message>
        <source>Reads and writes the information block of TANGELOUV, TANGELOSU and TANGELOSV radios over a serial port.</source>
        <translation>通过串口读取和写入 TANGELOUV、TANGELOSU 和 TANGELOSV 对讲机的信息块。</translation>
    </message>
    <message>
        <source>Displays this help.</source>
        <translation>显示本帮助。</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>显示版本信息。</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>多余的参数“%1”。</translation>
    </message>
    <message>
        <source>
The chosen COM port is kept in mysetup.ini: beside the program when the program may write
there, else in ~/.config/TANGELO_Tune/ (or $XDG_CONFIG_HOME/TANGELO_Tune/). A symbolic link
com&lt;N&gt; in a folder dosdevices/ beside that file lists the device it points to as COM&lt;N&gt;.
To trace the serial link on standard error, set QT_LOGGING_RULES=tangelo.link.debug=true.
</source>
        <translation>
选择的串口保存在 mysetup.ini 中：程序所在的文件夹可写时保存在程序旁边，
否则保存在 ~/.config/TANGELO_Tune/（或 $XDG_CONFIG_HOME/TANGELO_Tune/）中。在该文件旁边的
dosdevices/ 文件夹中建立符号链接 com&lt;N&gt;，它指向的设备就列为 COM&lt;N&gt;。
要在标准错误输出上显示串口的链路跟踪，请设置 QT_LOGGING_RULES=tangelo.link.debug=true。
</translation>
    </message>
    <message>
        <source>
The chosen COM port is kept in mysetup.ini: beside the program for a portable copy, else
(installed) in %APPDATA%\TANGELO_Tune\. The COM ports listed are those Windows lists in
HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM.
To trace the serial link, use tangelo-cli --trace.
</source>
        <translation>
选择的串口保存在 mysetup.ini 中：便携版保存在程序旁边，
安装版保存在 %APPDATA%\TANGELO_Tune\ 中。列出的串口是 Windows 在
HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM 中列出的串口。
要跟踪串口链路，请使用 tangelo-cli --trace。
</translation>
    </message>
</context>
<context>
    <name>FrmMain</name>
    <message>
        <source>COM%1 disappeared at %2; the list moved to COM%3.</source>
        <translation>COM%1 于 %2 消失，列表已改为 COM%3。</translation>
    </message>
    <message>
        <source>COM%1 disappeared at %2; the list moved to no port.</source>
        <translation>COM%1 于 %2 消失，列表中已没有选中的串口。</translation>
    </message>
</context>
<context>
    <name>ImageFields</name>
    <message>
        <source>the band</source>
        <translation>频段</translation>
    </message>
    <message>
        <source>the area code</source>
        <translation>销售区号</translation>
    </message>
    <message>
        <source>the band setting</source>
        <translation>频段设置</translation>
    </message>
    <message>
        <source>the switches</source>
        <translation>功能开关</translation>
    </message>
    <message>
        <source>the serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>the production date</source>
        <translation>出厂日期</translation>
    </message>
    <message>
        <source>the manufacture code</source>
        <translation>生产批号</translation>
    </message>
    <message>
        <source>the user code</source>
        <translation>客户代码</translation>
    </message>
    <message>
        <source>the password</source>
        <translation>编程密码</translation>
    </message>
    <message>
        <source>the maintenance date</source>
        <translation>维修日期</translation>
    </message>
    <message>
        <source>the dealer code</source>
        <translation>经销商代码</translation>
    </message>
    <message>
        <source>the stock date</source>
        <translation>入库时间</translation>
    </message>
    <message>
        <source>the sell date</source>
        <translation>销售时间</translation>
    </message>
    <message>
        <source>the seller</source>
        <translation>经手人</translation>
    </message>
    <message>
        <source>the maintenance description</source>
        <translation>维修原因</translation>
    </message>
    <message>
        <source>byte %1</source>
        <translation>第 %1 字节</translation>
    </message>
</context>
<context>
    <name>OpenFailureText</name>
    <message>
        <source>%1: there is no such device.</source>
        <translation>%1：设备不存在。</translation>
    </message>
    <message>
        <source>%1: this user account may not use the device.</source>
        <translation>%1：当前用户账户无权使用该设备。</translation>
    </message>
    <message>
        <source>%1: the device is in use.</source>
        <translation>%1：该设备正被占用。</translation>
    </message>
    <message>
        <source>%1: the device is not a serial port.</source>
        <translation>%1：该设备不是串口。</translation>
    </message>
    <message>
        <source>%1: the device reported an input/output error.</source>
        <translation>%1：该设备出现输入/输出错误。</translation>
    </message>
    <message>
        <source>%1: the device is gone.</source>
        <translation>%1：该设备已断开。</translation>
    </message>
</context>
<context>
    <name>PermissionText</name>
    <message>
        <source>Your user account may not use %1. It must belong to the group &quot;%2&quot;, which owns the device: run  sudo usermod -aG %2 $USER  and log in again.</source>
        <translation>当前用户账户无权使用 %1。设备属于用户组“%2”，加入该组即可使用：请运行  sudo usermod -aG %2 $USER  后重新登录。</translation>
    </message>
    <message>
        <source>The system gives %1 to no ordinary user (owner %2, group %3, mode %4).</source>
        <translation>系统不允许任何普通用户使用 %1（所有者 %2，用户组 %3，权限 %4）。</translation>
    </message>
    <message>
        <source>Only the user %2 may use %1 (group %3, mode %4).</source>
        <translation>只有用户 %2 可以使用 %1（用户组 %3，权限 %4）。</translation>
    </message>
    <message>
        <source>%1 A udev rule can give it to the group dialout, the usual group of serial adapters: put the line  KERNEL==&quot;%2&quot;, GROUP=&quot;dialout&quot;, MODE=&quot;0660&quot;  into a file such as /etc/udev/rules.d/50-serial.rules, run  sudo udevadm trigger  and  sudo usermod -aG dialout $USER , and log in again.</source>
        <comment>%1: the sentence that says who may use the device</comment>
        <translation>%1用一条 udev 规则可以把设备划归用户组 dialout（串口设备通常属于这个组）：把  KERNEL==&quot;%2&quot;, GROUP=&quot;dialout&quot;, MODE=&quot;0660&quot;  这一行写入 /etc/udev/rules.d/50-serial.rules 之类的文件，运行  sudo udevadm trigger  和  sudo usermod -aG dialout $USER  后重新登录。</translation>
    </message>
</context>
<context>
    <name>PortlessText</name>
    <message>
        <source>The cable %1 is plugged in but has no port: the braille display program brltty took it. Unless a braille display is used, run  sudo apt remove brltty  (or mask its udev rule and brltty.path), then unplug the cable and plug it in again.</source>
        <translation>写频线 %1 已插上，但没有串口：盲文显示程序 brltty 占用了它。不使用盲文显示器时，请运行  sudo apt remove brltty  后拔下写频线再重新插入（也可以屏蔽它的 udev 规则和 brltty.path）。</translation>
    </message>
    <message>
        <source>The cable %1 is plugged in but has no port: a program holds it through usbfs. Close that program, then unplug the cable and plug it in again.</source>
        <translation>写频线 %1 已插上，但没有串口：有程序通过 usbfs 占用了它。请关闭该程序，然后拔下写频线再重新插入。</translation>
    </message>
    <message>
        <source>The cable %1 is plugged in but has no port: no driver took it. Run  sudo modprobe %2  to load its driver; a kernel without that module needs the distribution&apos;s extra modules.</source>
        <translation>写频线 %1 已插上，但没有串口：没有驱动程序接管它。请运行  sudo modprobe %2  加载驱动程序；内核没有该模块时，需要安装发行版的附加模块。</translation>
    </message>
    <message>
        <source>The cable %1 is plugged in but has no port: the driver %2 took it, which makes no serial port of it.</source>
        <translation>写频线 %1 已插上，但没有串口：驱动程序 %2 接管了它，但不会为它创建串口。</translation>
    </message>
    <message>
        <source>The cable %1 is plugged in but has no port: its driver %2 (version %3) refuses this PL2303 chip, and Device Manager says &quot;This device cannot start. (Code 10)&quot;. Use a cable with a CH340, CP210x or FTDI chip, or the older Prolific driver 3.3.2.102, which still takes this chip.</source>
        <translation>写频线 %1 已插上，但没有串口：它的驱动程序 %2（版本 %3）不支持这种 PL2303 芯片，设备管理器显示“该设备无法启动。（代码 10）”。请改用 CH340、CP210x 或 FTDI 芯片的写频线，或者使用仍支持这种芯片的较早的 Prolific 驱动程序 3.3.2.102。</translation>
    </message>
    <message>
        <source>The cable %1 is plugged in but has no port: no driver is installed for its %2 chip (Code 28). Install the driver of the chip&apos;s maker, then unplug the cable and plug it in again.</source>
        <translation>写频线 %1 已插上，但没有串口：没有为它的 %2 芯片安装驱动程序（代码 28）。请安装芯片厂商的驱动程序，然后拔下写频线再重新插入。</translation>
    </message>
    <message>
        <source>The cable %1 is plugged in but has no port: it is disabled in Device Manager (Code 22). Right-click it there and choose Enable device.</source>
        <translation>写频线 %1 已插上，但没有串口：它在设备管理器中已被禁用（代码 22）。请在设备管理器中右键单击它，选择“启用设备”。</translation>
    </message>
    <message>
        <source>The cable %1 is plugged in but has no port: Windows reports a problem with it (Code %2). Its Properties in Device Manager say more; unplug the cable and plug it into another USB socket.</source>
        <translation>写频线 %1 已插上，但没有串口：Windows 报告它有问题（代码 %2）。设备管理器中它的属性有更多说明；请拔下写频线，插到另一个 USB 插孔。</translation>
    </message>
</context>
<context>
    <name>PortsText</name>
    <message>
        <source>No serial ports found.</source>
        <translation>未找到串口。</translation>
    </message>
</context>
<context>
    <name>RadioCommand</name>
    <message>
        <source>the radio is a %1, the backup file is of a %2; nothing was written</source>
        <translation>对讲机是 %1，备份文件属于 %2；未写入任何数据</translation>
    </message>
    <message>
        <source>the radio is a %1, not a %2; nothing was written</source>
        <translation>对讲机是 %1，不是 %2；未写入任何数据</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>已拒绝：%1</translation>
    </message>
    <message>
        <source>the image was read but not saved: %1</source>
        <translation>完整数据已读取，但未能保存：%1</translation>
    </message>
    <message>
        <source>saved in %1</source>
        <translation>已保存到 %1</translation>
    </message>
    <message>
        <source>%1 %2 %3:</source>
        <translation>%1 %2 %3：</translation>
    </message>
    <message>
        <source>Backup: %1</source>
        <translation>自动备份：%1</translation>
    </message>
    <message>
        <source>the radio is a %1, the backup file is of a %2</source>
        <translation>对讲机是 %1，备份文件属于 %2</translation>
    </message>
    <message>
        <source>a restore would be refused: %1</source>
        <translation>恢复将被拒绝：%1</translation>
    </message>
    <message>
        <source>dry run, nothing written</source>
        <translation>试运行，未写入任何数据</translation>
    </message>
    <message>
        <source>done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>跳过</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>no --port given, and no port is chosen in the window</source>
        <translation>没有加 --port，窗口中也没有选择串口</translation>
    </message>
    <message>
        <source>--port: &apos;%1&apos; is no COM number (1 to 999) or device path</source>
        <translation>--port：&apos;%1&apos; 既不是 COM 编号（1 至 999），也不是设备路径</translation>
    </message>
    <message>
        <source>%1 is there already; give a new file or a folder</source>
        <translation>%1 已存在；请给出新文件或文件夹</translation>
    </message>
    <message>
        <source>with --repeat, %1 must be a folder</source>
        <translation>使用 --repeat 时，%1 必须是文件夹</translation>
    </message>
    <message>
        <source>%1: its folder does not exist</source>
        <translation>%1：其所在的文件夹不存在</translation>
    </message>
    <message>
        <source>%1: the file lacks blocks %2 to 4</source>
        <translation>%1：文件缺少第 %2 至第 4 块</translation>
    </message>
    <message>
        <source>%1: no radio type &apos;%2&apos;</source>
        <translation>%1：没有机型 &apos;%2&apos;</translation>
    </message>
    <message>
        <source>the log cannot be written: %1</source>
        <translation>无法写入日志：%1</translation>
    </message>
    <message numerus="yes">
        <source>Summary: %n done, %1 failed, %2 skipped</source>
        <translation>
            <numerusform>汇总：完成 %n 台，失败 %1 台，跳过 %2 台</numerusform>
        </translation>
    </message>
    <message>
        <source>Connect the next radio, then press Enter; q to quit</source>
        <translation>请连接下一台对讲机，然后按回车键；输入 q 或“退”退出</translation>
    </message>
    <message>
        <source>Waiting for a radio on %1 (Ctrl-C to stop); the port cannot be opened now: %2</source>
        <translation>正在等待 %1 上的对讲机（按 Ctrl-C 停止）；该串口现在无法打开：%2</translation>
    </message>
    <message>
        <source>Waiting for a radio on %1 (Ctrl-C to stop)</source>
        <translation>正在等待 %1 上的对讲机（按 Ctrl-C 停止）</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>radio %1: %2</source>
        <translation>第 %1 台：%2</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>%1: %2: %3</source>
        <translation>%1：%2：%3</translation>
    </message>
    <message>
        <source>radio %1: %2: %3</source>
        <translation>第 %1 台：%2：%3</translation>
    </message>
    <message>
        <source>the same radio as before, %1: connect the next one</source>
        <translation>仍是刚处理过的对讲机 %1：请连接下一台对讲机</translation>
    </message>
</context>
<context>
    <name>RadioSession</name>
    <message>
        <source>The backup could not be saved, so nothing was written: %1</source>
        <translation>无法保存备份，因此没有写入任何数据：%1</translation>
    </message>
</context>
<context>
    <name>RecordOutput</name>
    <message>
        <source>Radio type</source>
        <translation>机型</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>频段</translation>
    </message>
    <message>
        <source>Band name</source>
        <translation>频段名称</translation>
    </message>
    <message>
        <source>Band setting</source>
        <translation>频段设置</translation>
    </message>
    <message>
        <source>Area code</source>
        <translation>销售区号</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Production date</source>
        <translation>出厂日期</translation>
    </message>
    <message>
        <source>Manufacture code</source>
        <translation>生产批号</translation>
    </message>
    <message>
        <source>User code</source>
        <translation>客户代码</translation>
    </message>
    <message>
        <source>Maintenance date</source>
        <translation>维修日期</translation>
    </message>
    <message>
        <source>Maintenance description</source>
        <translation>维修原因</translation>
    </message>
    <message>
        <source>Dealer code</source>
        <translation>经销商代码</translation>
    </message>
    <message>
        <source>Stock date</source>
        <translation>入库时间</translation>
    </message>
    <message>
        <source>Sell date</source>
        <translation>销售时间</translation>
    </message>
    <message>
        <source>Seller</source>
        <translation>经手人</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>编程密码</translation>
    </message>
    <message>
        <source>Kill</source>
        <translation>遥毙</translation>
    </message>
    <message>
        <source>Scramble</source>
        <translation>扰频</translation>
    </message>
    <message>
        <source>Faint</source>
        <translation>遥晕</translation>
    </message>
    <message>
        <source>Factory mode</source>
        <translation>工厂模式</translation>
    </message>
    <message>
        <source>(no band of this number)</source>
        <translation>（没有此编号的频段）</translation>
    </message>
    <message>
        <source>on</source>
        <translation>开</translation>
    </message>
    <message>
        <source>off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1：</translation>
    </message>
</context>
<context>
    <name>RunLogText</name>
    <message>
        <source>%1 is not a file</source>
        <translation>%1 不是文件</translation>
    </message>
    <message>
        <source>%1 is not a log of this program (its first line is not &quot;%2&quot;); it is left as it is: give a new file or an empty one</source>
        <translation>%1 不是本程序的日志（它的第一行不是“%2”）；该文件保持原样：请给出新文件或空文件</translation>
    </message>
</context>
<context>
    <name>Sentences</name>
    <message>
        <source>%1 %2</source>
        <comment>one sentence followed by another</comment>
        <translation>%1%2</translation>
    </message>
</context>
<context>
    <name>SerialControl</name>
    <message>
        <source>%1 names no serial device of this computer.</source>
        <translation>这台电脑上没有 %1 对应的串口设备。</translation>
    </message>
    <message>
        <source>No COM port is chosen.</source>
        <translation>没有选择串口。</translation>
    </message>
    <message>
        <source>The link settings &quot;%1&quot; are not valid.</source>
        <translation>串口参数“%1”无效。</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <comment>the port, and the system&apos;s reason it did not open</comment>
        <translation>%1：%2。</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>a COM port and its device</comment>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>%1, the port chosen in the window, names no serial device of this computer. &quot;tangelo-cli ports&quot; lists the serial ports there are; &quot;tangelo-cli check&quot; finds the one a radio answers on.</source>
        <translation>%1 是窗口中选择的串口，但这台电脑上没有它对应的串口设备。“tangelo-cli ports”会列出现有的串口；“tangelo-cli check”会找出有对讲机应答的串口。</translation>
    </message>
    <message>
        <source>%1, the port chosen in the window and saved from an earlier run, names no serial device of this computer. Give the radio&apos;s port with --port: &quot;tangelo-cli ports&quot; lists the serial ports there are; &quot;tangelo-cli check&quot; finds the one a radio answers on.</source>
        <translation>%1 是窗口中选择、在之前运行时保存的串口，但这台电脑上没有它对应的串口设备。请用 --port 给出对讲机所在的串口：“tangelo-cli ports”会列出现有的串口；“tangelo-cli check”会找出有对讲机应答的串口。</translation>
    </message>
</context>
<context>
    <name>SerialPlatformText</name>
    <message>
        <source>Check that the cable is plugged in and that the right COM port is chosen.</source>
        <translation>请检查写频线是否已插好，以及是否选择了正确的串口。</translation>
    </message>
    <message>
        <source>%1 is in use by another program. Close the program that holds it (another radio programming tool, a terminal program, a second TANGELO_Tune or tangelo-cli) and try again.</source>
        <translation>%1 正被另一个程序使用。请关闭占用它的程序（其他对讲机写频软件、终端程序、另一个 TANGELO_Tune 或 tangelo-cli）后再试。</translation>
    </message>
    <message>
        <source>Check that the cable is plugged in, that its driver is installed (the port shows in Device Manager under Ports (COM &amp; LPT)), and that the right COM port is chosen.</source>
        <translation>请检查写频线是否已插好、其驱动程序是否已安装（该串口显示在设备管理器的“端口 (COM 和 LPT)”下），以及是否选择了正确的串口。</translation>
    </message>
    <message>
        <source>A udev rule makes ModemManager leave the cable alone: put the line  %1  into a file such as /etc/udev/rules.d/50-tangelo.rules, run  sudo udevadm control --reload  and  sudo udevadm trigger , and plug the cable in again.</source>
        <translation>用一条 udev 规则可以让 ModemManager 不再打开这条写频线：把  %1  这一行写入 /etc/udev/rules.d/50-tangelo.rules 之类的文件，运行  sudo udevadm control --reload  和  sudo udevadm trigger  后重新插入写频线。</translation>
    </message>
    <message>
        <source>%1 is held by another program, which this user account may not see. ModemManager is running, and it opens new serial devices to look for modems.</source>
        <translation>%1 正被另一个程序占用，当前用户账户看不到是哪个程序。ModemManager 正在运行，它会打开新接入的串口设备来查找调制解调器。</translation>
    </message>
    <message>
        <source>%1 is held by another program (a terminal program, another radio programming tool, a second TANGELO_Tune or tangelo-cli); close it and try again.</source>
        <translation>%1 正被另一个程序（终端程序、其他对讲机写频软件、另一个 TANGELO_Tune 或 tangelo-cli）占用；请关闭该程序后再试。</translation>
    </message>
    <message>
        <source>the program %1 (process %2)</source>
        <translation>程序 %1（进程 %2）</translation>
    </message>
    <message>
        <source>%1 is held by %2; close it and try again.</source>
        <translation>%1 正被%2占用；请关闭该程序后再试。</translation>
    </message>
    <message>
        <source>%1 is held by %2; close them and try again.</source>
        <translation>%1 正被%2占用；请关闭这些程序后再试。</translation>
    </message>
    <message>
        <source>Its latency timer still reads %1 ms although the program asked the driver for low latency, so every reply waits that long in the cable; run  echo 1 | sudo tee %2  to set it to 1 ms.</source>
        <translation>程序已要求驱动程序使用低延迟，但其延迟计时器仍为 %1 毫秒，每个应答都要在写频线中等待这么久；运行  echo 1 | sudo tee %2  可将其设为 1 毫秒。</translation>
    </message>
    <message>
        <source>Its latency timer is %1 ms, so every reply waits that long in the cable: in Device Manager, open the port&apos;s Properties, Port Settings, Advanced, and set &quot;Latency Timer (msec)&quot; to 1.</source>
        <translation>其延迟计时器为 %1 毫秒，每个应答都要在写频线中等待这么久：请在设备管理器中打开该串口的“属性”，在“端口设置”中点“高级”，把“Latency Timer (msec)”设为 1。</translation>
    </message>
</context>
<context>
    <name>SessionText</name>
    <message>
        <source>the program command</source>
        <translation>编程命令</translation>
    </message>
    <message>
        <source>the end command</source>
        <translation>结束命令</translation>
    </message>
    <message>
        <source>the identity request</source>
        <translation>识别请求</translation>
    </message>
    <message>
        <source>the read request for block %1</source>
        <translation>第 %1 块读取请求</translation>
    </message>
    <message>
        <source>the block write for block %1</source>
        <translation>第 %1 块写入</translation>
    </message>
    <message>
        <source>the last frame</source>
        <translation>最后一帧</translation>
    </message>
    <message>
        <source>The automatic backup %1 holds the radio as it was before this write.</source>
        <translation>自动备份 %1 保存了写入前的原始数据。</translation>
    </message>
    <message>
        <source>Some blocks may have been written before it stopped; read the radio to see what it holds.</source>
        <translation>停止之前可能已写入部分数据块；请读取对讲机，查看其中的数据。</translation>
    </message>
    <message>
        <source>No automatic backup of the radio as it was before this write was saved.</source>
        <translation>没有保存写入前的自动备份。</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>the port, and what happened there</comment>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>the radio reports the type %1, which this program does not know. Nothing was read.</source>
        <translation>对讲机报告的机型为 %1，本程序不认识该机型。没有读取任何数据。</translation>
    </message>
    <message>
        <source>the radio is a %1, but %2 is chosen as the radio type. Nothing was read or written; choose the radio&apos;s type and try again.</source>
        <translation>对讲机是 %1，但选择的机型是 %2。没有读取或写入任何数据；请选择对讲机的机型后再试。</translation>
    </message>
    <message>
        <source>a radio in the 66 - 88 MHz band cannot be given another band. The end command was sent and no block was written; choose the radio&apos;s own band to write the other fields.</source>
        <translation>66 - 88 MHz 频段的对讲机不能改为其他频段。已发送结束命令，没有写入任何数据块；要写入其他字段，请选择对讲机原来的频段。</translation>
    </message>
    <message>
        <source>the radio did not take %1: written three times, it still reads back otherwise. The end command was sent. %2 Write again; a radio that fails this again needs service.</source>
        <translation>对讲机没有接受%1：写入三次后，回读仍与写入的内容不同。已发送结束命令。%2请重新写入；再次失败的对讲机需要维修。</translation>
    </message>
    <message>
        <source>the port went away while waiting for the reply to %1. Check the cable and its plug, then try again.</source>
        <translation>等待%1的应答时，串口断开了。请检查写频线及其插头，然后再试。</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>a COM port and its device</comment>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>Each time only the frame itself came back.</source>
        <translation>每次传回的都只是所发送的帧本身。</translation>
    </message>
    <message>
        <source>On %1 of the %2 tries only the frame itself came back.</source>
        <translation>%2 次中有 %1 次传回的只是所发送的帧本身。</translation>
    </message>
    <message>
        <source>The radio refused it with a negative reply each time.</source>
        <translation>对讲机每次都回复了否定应答，拒绝了这一帧。</translation>
    </message>
    <message>
        <source>On %1 of the %2 tries the radio refused it with a negative reply.</source>
        <translation>%2 次中有 %1 次对讲机回复了否定应答，拒绝了这一帧。</translation>
    </message>
    <message>
        <source>Each time only bytes came back that make no reply (first bytes: %1).</source>
        <translation>每次收到的都只是不构成应答的字节（开头的字节：%1）。</translation>
    </message>
    <message>
        <source>On %1 of the %2 tries bytes came back that make no reply (first bytes: %3).</source>
        <translation>%2 次中有 %1 次收到了不构成应答的字节（开头的字节：%3）。</translation>
    </message>
    <message>
        <source>Each time the radio sent a reply that belongs to another frame.</source>
        <translation>对讲机每次发送的都是属于另一帧的应答。</translation>
    </message>
    <message>
        <source>On %1 of the %2 tries the radio sent a reply that belongs to another frame.</source>
        <translation>%2 次中有 %1 次对讲机发送的是属于另一帧的应答。</translation>
    </message>
    <message>
        <source>Each time the radio sent block %1 instead of block %2.</source>
        <translation>对讲机每次发送的都是第 %1 块，而不是所请求的第 %2 块。</translation>
    </message>
    <message>
        <source>On %3 of the %4 tries the radio sent block %1 instead of block %2.</source>
        <translation>%4 次中有 %3 次对讲机发送的是第 %1 块，而不是所请求的第 %2 块。</translation>
    </message>
    <message>
        <source>Each time the reply came only after its wait had run out.</source>
        <translation>每次应答都是在等待时间结束后才到达。</translation>
    </message>
    <message>
        <source>On %1 of the %2 tries the reply came only after its wait had run out.</source>
        <translation>%2 次中有 %1 次应答在等待时间结束后才到达。</translation>
    </message>
    <message>
        <source>Nothing came back on any try.</source>
        <translation>每次都没有收到任何字节。</translation>
    </message>
    <message>
        <source>Nothing came back on %1 of the %2 tries.</source>
        <translation>%2 次中有 %1 次没有收到任何字节。</translation>
    </message>
    <message>
        <source>The radio answers, but later than the program waits for its reply: try again.</source>
        <translation>对讲机有应答，但比程序等待应答的时间晚：请再试一次。</translation>
    </message>
    <message>
        <source>The radio answers, but not with the block asked for: switch the radio off and on again, then try again; a radio that keeps doing so needs service.</source>
        <translation>对讲机有应答，但发送的不是所请求的数据块：请将对讲机关机后再开机，然后再试；一直如此的对讲机需要维修。</translation>
    </message>
    <message>
        <source>The radio answers, but out of step with the program: switch the radio off and on again, then try again.</source>
        <translation>对讲机有应答，但与程序的步骤不一致：请将对讲机关机后再开机，然后再试。</translation>
    </message>
    <message>
        <source>A radio answers, but does not take this frame: switch the radio off and on again, then try again; a radio that still refuses needs service.</source>
        <translation>对讲机有应答，但不接受这一帧：请将对讲机关机后再开机，然后再试；仍然拒绝的对讲机需要维修。</translation>
    </message>
    <message>
        <source>The radio answered earlier frames: check that the cable sits firmly and try again.</source>
        <translation>对讲机对之前的帧有应答：请检查写频线是否插牢，然后再试。</translation>
    </message>
    <message>
        <source>The radio answered at first and then stopped: check that the cable sits firmly and try again.</source>
        <translation>对讲机起初有应答，后来停止了：请检查写频线是否插牢，然后再试。</translation>
    </message>
    <message>
        <source>Another kind of radio, a radio at another speed or a faulty cable sends such: check that the radio is of a type this program knows, and try another cable.</source>
        <translation>其他种类的对讲机、波特率不同的对讲机或有故障的写频线会发送这样的字节：请检查对讲机是否为本程序认识的机型，并换一根写频线再试。</translation>
    </message>
    <message>
        <source>The cable works up to its plug, but no radio answered: check that the plug is fully in the radio&apos;s socket and that the radio is switched on.</source>
        <translation>写频线直到插头都是通的，但没有对讲机应答：请检查插头是否完全插入对讲机的插孔，以及对讲机是否已开机。</translation>
    </message>
    <message>
        <source>Check that the radio is switched on and connected by its programming cable to this port, and that the right COM port is chosen.</source>
        <translation>请检查对讲机是否已开机并通过写频线连接到这个串口，以及是否选择了正确的串口。</translation>
    </message>
    <message numerus="yes">
        <source>no acceptable reply to %1 after %n tries.</source>
        <translation>
            <numerusform>%1发送 %n 次后仍没有收到有效的应答。</numerusform>
        </translation>
    </message>
    <message>
        <source>Nothing came back from the radio.</source>
        <translation>对讲机没有传回任何字节。</translation>
    </message>
</context>
<context>
    <name>WaitNotice</name>
    <message>
        <source>Waiting for a reply on %1, try %2 of %3 ...</source>
        <translation>正在等待 %1 上的应答：第 %2 次发送，共 %3 次……</translation>
    </message>
</context>
<context>
    <name>WritePlanText</name>
    <message>
        <source>%1 (the same text in other bytes)</source>
        <translation>%1（文字相同，字节不同）</translation>
    </message>
    <message>
        <source>a radio in the 66 - 88 MHz band (18) cannot be given another band</source>
        <translation>处于 66 - 88 MHz 频段（18）的对讲机不能改为其他频段</translation>
    </message>
    <message>
        <source>band %1 is not a band of the %2</source>
        <translation>频段 %1 不是 %2 的频段</translation>
    </message>
    <message>
        <source>the band would change from %1 to %2; give --yes to change it</source>
        <translation>频段将从 %1 改为 %2；加 --yes 才会更改</translation>
    </message>
    <message>
        <source>the file is of the radio with serial number &quot;%1&quot;, this radio&apos;s is &quot;%2&quot;; --force restores it anyway</source>
        <translation>该文件属于序列号为“%1”的对讲机，这台对讲机的序列号为“%2”；加 --force 仍会恢复</translation>
    </message>
    <message>
        <source>(no change)</source>
        <translation>（无更改）</translation>
    </message>
    <message>
        <source>%1: %2 → %3</source>
        <translation>%1：%2 → %3</translation>
    </message>
</context>
</TS>
