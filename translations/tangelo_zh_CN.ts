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
            <numerusform>备份文件不含 %n 个数据块</numerusform>
        </translation>
    </message>
    <message>
        <source>block %1 of the backup file is damaged</source>
        <translation>备份文件的第 %1 块已损坏</translation>
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
        <translation>意外的参数“%1”。</translation>
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
否则保存在 ~/.config/TANGELO_Tune/（或 $XDG_CONFIG_HOME/TANGELO_Tune/）中。该文件旁边的
文件夹 dosdevices/ 中的符号链接 com&lt;N&gt; 把它指向的设备列为 COM&lt;N&gt;。
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
    <name>PermissionText</name>
    <message>
        <source>Your user account may not use %1. It must belong to the group &quot;%2&quot;, which owns the device: run  sudo usermod -aG %2 $USER  and log in again.</source>
        <translation>您的用户账户无权使用 %1。它必须属于拥有该设备的用户组“%2”：请运行  sudo usermod -aG %2 $USER  ，然后重新登录。</translation>
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
        <translation>%1可以用一条 udev 规则把它交给用户组 dialout（串口设备通常所属的用户组）：把这一行  KERNEL==&quot;%2&quot;, GROUP=&quot;dialout&quot;, MODE=&quot;0660&quot;  写入一个文件（例如 /etc/udev/rules.d/50-serial.rules），运行  sudo udevadm trigger  和  sudo usermod -aG dialout $USER  ，然后重新登录。</translation>
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
    <name>SerialControl</name>
    <message>
        <source>%1 names no serial device of this computer.</source>
        <translation>这台计算机上没有 %1 对应的串口设备。</translation>
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
</context>
<context>
    <name>SerialPlatformText</name>
    <message>
        <source>Another program is using %1. Close it and try again.</source>
        <translation>另一个程序正在使用 %1。请关闭该程序后再试。</translation>
    </message>
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
        <translation>第 %1 块的读取请求</translation>
    </message>
    <message>
        <source>the block write for block %1</source>
        <translation>第 %1 块的数据块写入</translation>
    </message>
    <message>
        <source>the last frame</source>
        <translation>最后一帧</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>one sentence followed by another</comment>
        <translation>%1%2</translation>
    </message>
    <message>
        <source>The automatic backup %1 holds the radio as it was before this write.</source>
        <translation>自动备份 %1 保存了本次写入之前的对讲机数据。</translation>
    </message>
    <message>
        <source>Some blocks may have been written before it stopped; read the radio to see what it holds.</source>
        <translation>停止之前可能已写入部分数据块；请读取对讲机，查看其中的数据。</translation>
    </message>
    <message>
        <source>%1: the radio reports the type %2, which this program does not know. Nothing was read.</source>
        <translation>%1：对讲机报告的机型为 %2，本程序不认识该机型。没有读取任何数据。</translation>
    </message>
    <message>
        <source>%1: the radio is a %2, but %3 is chosen as the radio type. Nothing was read or written; choose the radio&apos;s type and try again.</source>
        <translation>%1：对讲机是 %2，但选择的机型是 %3。没有读取或写入任何数据；请选择对讲机的机型后再试。</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>the port, and why the write was refused</comment>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>%1: a radio in the 66 - 88 MHz band cannot be given another band. The end command was sent and no block was written; choose the radio&apos;s own band to write the other fields.</source>
        <translation>%1：66 - 88 MHz 频段的对讲机不能改为其他频段。已发送结束命令，没有写入任何数据块；请选择对讲机本身的频段，以写入其他字段。</translation>
    </message>
    <message>
        <source>No automatic backup of the radio as it was before this write was saved.</source>
        <translation>没有保存本次写入之前的对讲机的自动备份。</translation>
    </message>
    <message>
        <source>%1: the radio did not take %2: written three times, it still reads back otherwise. The end command was sent. %3 Write again; a radio that fails this again needs service.</source>
        <translation>%1：对讲机没有接受%2：写入三次后，回读仍与写入的不同。已发送结束命令。%3请重新写入；再次失败的对讲机需要维修。</translation>
    </message>
    <message>
        <source>%1 went away while waiting for the reply to %2. Check the cable and its plug, then try again.</source>
        <translation>%1 在等待%2的应答时断开了。请检查写频线及其插头，然后再试。</translation>
    </message>
    <message numerus="yes">
        <source>%1: no reply to %2 after %n tries. Check that the radio is switched on and connected by its programming cable to this port, and that the right COM port is chosen.</source>
        <translation>
            <numerusform>%1：%2发送 %n 次后仍没有应答。请检查对讲机是否已开机并通过写频线连接到这个串口，以及是否选择了正确的串口。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: no reply to %2 after %n tries. The radio answered at first and then stopped: check that the cable sits firmly and try again.</source>
        <translation>
            <numerusform>%1：%2发送 %n 次后仍没有应答。对讲机起初有应答，后来停止了：请检查写频线是否插牢，然后再试。</numerusform>
        </translation>
    </message>
</context>
</TS>
