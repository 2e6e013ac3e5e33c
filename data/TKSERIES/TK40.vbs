' TK40: the drive type's script. The configurator runs it with its object Tvsk and calls
' Tvsk_<event> when the event happens; Tvsk.CanRW = False refuses the announced operation.
Option Explicit

' Session variables the file leaves empty get their defaults.
Sub Tvsk_LoadFile(file)
    SetDefault "NomeAsse", "Asse X"
    SetDefault "RapportoRiduzione", "1"
    SetDefault "Commessa", "Nessuna"
End Sub

Sub SetDefault(name, value)
    If Tvsk.TvskVar(name) = "" Then Tvsk.TvskVar(name) = value
End Sub

' No PLC program reaches a drive that is enabled (Pr3.1 on).
Sub Tvsk_BeforeWritePLC()
    If Tvsk.TargetPar("@Pr3.1") <> 0 Then
        Tvsk.MsgBox Text("Drive abilitato: disabilitarlo prima di scrivere il LumoPLC.", _
                         "The drive is enabled: disable it before writing the LumoPLC."), 3
        Tvsk.CanRW = False
    End If
End Sub

' Parameters written without fault may go into the drive's permanent memory.
Sub Tvsk_AfterWriteAll()
    If Tvsk.ErrorCode <> 0 Then Exit Sub
    If MsgBox(Text("Parametri scritti nel drive." & vbLf & "Salvarli nella memoria permanente?", _
                   "Parameters written to the drive." & vbLf & "Save them in the permanent memory?"), _
              vbYesNo + vbQuestion, "TK40") = vbYes Then
        Tvsk.ExecHtmlCommand "SaveParameters"
    End If
End Sub

' The text of the session's language.
Function Text(italian, english)
    If Tvsk.DictioString(60002) = "ENG" Then
        Text = english
    Else
        Text = italian
    End If
End Function
