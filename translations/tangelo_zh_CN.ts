<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CliHelp</name>
    <message>
        <source>Lists the serial ports as the window&apos;s list does: COM number, device and adapter.</source>
        <translation>按窗口中串口列表的方式列出串口：COM 编号、设备和适配器。</translation>
    </message>
    <message>
        <source>Reads the radio and prints its record as the window shows it: every field, the band&apos;s name and the switches; as text, as JSON, or as one CSV line per radio.</source>
        <translation>读取对讲机，并按窗口的显示方式打印其记录：每个字段、频段名称和各开关；以文本、JSON 或每台对讲机一行 CSV 的形式输出。</translation>
    </message>
    <message>
        <source>Writes the fields given and only those: every other byte goes back as the radio holds it. Prints each changed field as before → after. Before any block is written, the image as read is saved as an automatic backup; the write is refused when that fails (unless --no-backup). A text too wide for its field in the radio&apos;s code page is an error, never cut. A band change needs --yes; a radio in the 66 - 88 MHz band (18) cannot be given another band.</source>
        <translation>只写入所给的字段：其余每个字节都按对讲机原有的内容写回。每个更改的字段按“更改前 → 更改后”打印。在写入任何数据块之前，读取到的数据镜像先保存为自动备份；保存失败时拒绝写入（除非给出 --no-backup）。文字按对讲机的代码页超出字段宽度即为错误，决不截断。更改频段需要 --yes；处于 66 - 88 MHz 频段（18）的对讲机不能改为其他频段。</translation>
    </message>
    <message>
        <source>Reads the radio and keeps its whole image, its type and its serial number in FILE (a new file; a folder gets a file named after the serial number and the time).</source>
        <translation>读取对讲机，并把其完整的数据镜像、机型和序列号保存到 FILE（一个新文件；若为文件夹，则在其中新建以序列号和时间命名的文件）。</translation>
    </message>
    <message>
        <source>Writes the dealer fields, password, band-setting switch and band of a backup file (or of an automatic backup) back to the radio, byte for byte, as a write does: the radio&apos;s type is checked, its blocks read and saved as a backup, then blocks 0 to 4 written. Refuses a file of another radio type, and of another serial number unless --force. Prints what it changes before it writes.</source>
        <translation>把备份文件（或自动备份）中的经销商信息、编程密码、频段设置开关和频段逐字节写回对讲机，过程与写入相同：先检查对讲机的机型，读取其数据块并保存为备份，然后写入第 0 至 4 块。拒绝其他机型的文件；除非给出 --force，也拒绝其他序列号的文件。写入前打印将要更改的内容。</translation>
    </message>
    <message>
        <source>The radio&apos;s port: a COM number as &apos;ports&apos; lists it (900 or COM900), or a device path. Default: the port chosen in the window.</source>
        <translation>对讲机所接的串口：&apos;ports&apos; 列出的 COM 编号（900 或 COM900），或设备路径。默认：窗口中选择的串口。</translation>
    </message>
    <message>
        <source>Print the record as JSON.</source>
        <translation>以 JSON 格式打印记录。</translation>
    </message>
    <message>
        <source>Print the record as one CSV line.</source>
        <translation>把记录打印为一行 CSV。</translation>
    </message>
    <message>
        <source>With --csv: print the names of the columns first.</source>
        <translation>与 --csv 一起使用：先打印各列的名称。</translation>
    </message>
    <message>
        <source>Also keep the image in FILE, as &apos;backup&apos; does (with --repeat: a folder).</source>
        <translation>同时像 &apos;backup&apos; 一样把数据镜像保存到 FILE（与 --repeat 一起使用时为文件夹）。</translation>
    </message>
    <message>
        <source>The radio type to write (TANGELOUV, TANGELOSU, TANGELOSV); another radio is a model error. Default: the type the radio reports, read first.</source>
        <translation>要写入的机型（TANGELOUV、TANGELOSU、TANGELOSV）；其他机型的对讲机为机型错误。默认：先读取对讲机报告的机型。</translation>
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
        <translation>频段设置开关。</translation>
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
        <translation>打印将会更改的内容，不写入任何数据。</translation>
    </message>
    <message>
        <source>Do not save the automatic backup before writing.</source>
        <translation>写入前不保存自动备份。</translation>
    </message>
    <message>
        <source>Radio after radio: after each one, prompt &quot;Connect the next radio, then press Enter; q to quit&quot;; one line per radio, a summary at the end.</source>
        <translation>逐台处理对讲机：每台之后提示“请连接下一台对讲机，然后按回车键；输入 q 或‘退’退出”；每台对讲机一行结果，最后给出汇总。</translation>
    </message>
    <message>
        <source>With --repeat: no prompt; the program command is tried again until a radio answers (the radio just done counts once it is taken away or another one answers). Ctrl-C ends the run.</source>
        <translation>与 --repeat 一起使用：不提示；反复发送编程命令，直到有对讲机应答（刚处理完的对讲机被取下、或另一台对讲机应答后才再次计入）。按 Ctrl-C 结束运行。</translation>
    </message>
    <message>
        <source>Append a line per radio: time, port, type, serial number, result, changed fields.</source>
        <translation>每台对讲机追加一行：时间、串口、机型、序列号、结果、更改的字段。</translation>
    </message>
    <message>
        <source>Trace the link&apos;s frames and events on standard error.</source>
        <translation>在标准错误输出上输出链路跟踪：链路的帧和事件。</translation>
    </message>
    <message>
        <source>Exit codes:
  0  done
  1  radio failure or no reply
  2  usage: a wrong command line, or a file named on it
  3  the port cannot be opened
  4  model error: the radio is not of the type given (or of the file&apos;s)
  5  refused: nothing was written
With --repeat: 0 when every radio was done, else the code of the first radio that was not.
</source>
        <translation>退出码：
  0  完成
  1  对讲机故障或无应答
  2  用法错误：命令行有误，或其中给出的文件有误
  3  无法打开串口
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
        <translation>自动备份：每次写入前都先把对讲机的数据镜像保存到数据文件夹（%1）；&apos;restore&apos; 可以使用这样的文件。</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>选项：</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>显示本帮助。</translation>
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
        <source>--%1: &quot;%2&quot; cannot be stored in the radio&apos;s code page %3</source>
        <translation>--%1：“%2”无法按对讲机的代码页 %3 保存</translation>
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
        <translation>--%1 给出了不止一次</translation>
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
        <translation>数据镜像已读取，但未能保存：%1</translation>
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
        <translation>未给出 --port，窗口中也没有选择串口</translation>
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
        <translation>%1：文件缺少第 %2 至 4 块</translation>
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
        <translation>频段将从 %1 改为 %2；给出 --yes 才会更改</translation>
    </message>
    <message>
        <source>the file is of the radio with serial number &quot;%1&quot;, this radio&apos;s is &quot;%2&quot;; --force restores it anyway</source>
        <translation>该文件属于序列号为“%1”的对讲机，这台对讲机的序列号为“%2”；给出 --force 仍会恢复</translation>
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
